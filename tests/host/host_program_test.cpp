// Orvane.scr itself under Xvfb: real windows, real key presses.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
// clang-format on

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/linux/x11_platform.h"
#include "tests/platform/x11_test_window.h"
#include "tests/support/child.h"
#include "tests/support/screenshot.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xvfb.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// Orvane.scr copied into a host folder of the test's own with both companion files, a data
// directory of its own, and an X server. Without a display, or while an unmapped saver
// window of another process exists, the host ends before its checks; once the saver is gone
// "/a" makes the data directory and ends; without the texture "/s" shows its message, and with
// the texture but without the renderer, the renderer's.
TEST(HostProgram, RefusesWithoutADisplayOrWhileASaverRunsAndShowsBothMissingFileMessages) {
  testing::TempFolder folder;
  testing::Xvfb server;
  Display* display = XOpenDisplay(server.display().c_str());
  ASSERT_TRUE(server.running() && display);
  std::filesystem::create_directory(folder / "host");
  std::filesystem::copy_file(testing::ProgramPath("Orvane.scr"), folder / "host/Orvane.scr");
  testing::WriteBytes(folder / "host/Orvane.image", "image");
  testing::WriteBytes(folder / "host/Orvane.dll", "program");
  const std::string dataDirectory = folder / "cache/t_ovin";
  const auto start = [&](const char* mode, std::string displayVariable = "") {
    if (displayVariable.empty()) displayVariable = "DISPLAY=" + server.display();
    return std::make_unique<testing::Child>(
        std::vector<std::string>{folder / "host/Orvane.scr", mode},
        std::vector<std::string>{displayVariable, "XDG_CACHE_HOME=" + folder / "cache"});
  };
  for (const char* displayVariable : {"DISPLAY", "DISPLAY=:4093"}) {
    auto host = start("/s", displayVariable);
    EXPECT_EQ(host->Wait(10s), 1) << displayVariable;
    const std::string error = host->Stderr();
    EXPECT_TRUE(error.size() > 1 && error.find('\n') == error.size() - 1) << error;
  }
  const Window saver = testing::MakeWindow(display, 0, 0, 10, 10);
  testing::SetWmName(display, saver, "Orvane_Main");
  EXPECT_EQ(start("/s")->Wait(10s), 0);
  EXPECT_FALSE(std::filesystem::exists(dataDirectory)) << "ended before its checks";
  XDestroyWindow(display, saver);
  XSync(display, False);
  auto host = start("/a");
  EXPECT_EQ(host->Wait(10s), 0);
  EXPECT_TRUE(std::filesystem::is_directory(dataDirectory)) << "made once the saver is gone";
  EXPECT_EQ(host->Stderr() + host->Stdout(), "");

  // Each missing companion brings its own box; dismissed, the process ends, so the message for
  // the missing program comes only once the picture is there.
  auto finder = MakeX11WindowFinder(display);
  const auto dismissedMessage = [&](const char* missing) {
    host = start("/s");
    WindowHandle box = 0;
    testing::Screenshot shot;
    EXPECT_TRUE(testing::WaitFor(
        [&] { return (box = finder->FindWindow("Orvane (ScreenSaver)")) != 0; }, 15s))
        << missing;
    if (box == 0) return shot;
    // The box is drawn: text on its background gives more than one colour.
    EXPECT_TRUE(testing::WaitFor(
        [&] {
          shot = testing::TakeScreenshot(server.display(), box);
          return shot.valid() && std::count(shot.pixels.begin(), shot.pixels.end(),
                                            shot.pixels.front()) < std::ssize(shot.pixels);
        },
        5s))
        << missing;
    EXPECT_FALSE(host->Wait(300ms).has_value()) << "it waits for the user: " << missing;
    const auto [code, output] =
        testing::RunShell("DISPLAY=" + server.display() + " xdotool windowfocus --sync " +
                          std::to_string(box) + " key Return");
    EXPECT_EQ(code, 0) << output;
    EXPECT_EQ(host->Wait(10s), 0) << missing;
    EXPECT_TRUE(
        testing::WaitFor([&] { return finder->FindWindow("Orvane (ScreenSaver)") == 0; }, 5s))
        << missing;
    return shot;
  };
  std::filesystem::remove(folder / "host/Orvane.image");
  std::filesystem::remove(folder / "host/Orvane.dll");
  const testing::Screenshot pictureMessage = dismissedMessage("Orvane.image");
  testing::WriteBytes(folder / "host/Orvane.image", "image");
  const testing::Screenshot programMessage = dismissedMessage("Orvane.dll");
  ASSERT_TRUE(pictureMessage.valid() && programMessage.valid());
  // Two different texts: the boxes cannot look the same.
  EXPECT_TRUE(pictureMessage.width != programMessage.width ||
              pictureMessage.height != programMessage.height ||
              pictureMessage.pixels != programMessage.pixels);
  XCloseDisplay(display);
}

// "--help" and "--version" answer on standard output, without a display, and end with 0: the
// help names every mode, both daemon options and this user's settings file and picture.
TEST(HostProgram, HelpAndVersionAnswerWithoutADisplay) {
  testing::TempFolder folder;
  std::filesystem::create_directory(folder / "host");
  std::filesystem::copy_file(ORVANE_BIN_DIR "/Orvane.scr", folder / "host/Orvane.scr");
  const auto run = [&](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), folder / "host/Orvane.scr");
    testing::Child host(arguments, {"DISPLAY", "XDG_CONFIG_HOME=" + folder / "config"});
    EXPECT_EQ(host.Wait(10s), 0) << arguments[1];
    EXPECT_EQ(host.Stderr(), "") << arguments[1];
    return host.Stdout();
  };
  EXPECT_EQ(run({"--version"}), "Orvane 1.0.0\n");
  EXPECT_EQ(run({"--root", "--version", "--help"}), "Orvane 1.0.0\n") << "the first decides";
  const std::string help = run({"--help"});
  EXPECT_EQ(help.rfind("Usage: Orvane.scr ", 0), 0u) << help;
  for (const std::string& part :
       std::vector<std::string>{"\n  /s ", "\n  /p <window> ", "\n  /c ", "\n  --root ",
                                "\n  --window-id ", "\nSettings: " + folder / "host/Orvane.ini\n",
                                ": " + folder / "config/orvane/Orvane.image\n"}) {
    EXPECT_NE(help.find(part), std::string::npos) << part;
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "config")) << "asking writes nothing";
}

}  // namespace
}  // namespace orvane
