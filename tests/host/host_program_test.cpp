// Orvane.scr itself under Xvfb: real windows, real key presses.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
// clang-format on
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/x11_platform.h"
#include "tests/support/temp_folder.h"
#include "tests/platform/x11_test_window.h"
#include "tests/support/child.h"
#include "tests/support/screenshot.h"
#include "tests/support/xvfb.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using testing::TempFolder;
using testing::WriteBytes;

struct DisplayCloser {
  void operator()(Display* d) const { XCloseDisplay(d); }
};

// A host folder of the test's own with a copy of the program and both companion files, a
// data directory of its own, and an X server.
class HostProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running());
    display.reset(XOpenDisplay(server.display().c_str()));
    ASSERT_TRUE(display);
    std::filesystem::create_directory(folder / "host");
    std::filesystem::copy_file(std::string(ORVANE_BIN_DIR) + "/Orvane.scr", Program());
    WriteBytes(folder / "host/Orvane.image", "image");
    WriteBytes(folder / "host/Orvane.dll", "program");
  }

  std::string Program() { return folder / "host/Orvane.scr"; }
  std::string DataDirectory() { return folder / "cache/t_ovin"; }
  std::unique_ptr<testing::Child> Start(std::vector<std::string> arguments,
                                        std::string displayName = "") {
    arguments.insert(arguments.begin(), Program());
    return std::make_unique<testing::Child>(
        arguments,
        std::vector<std::string>{displayName.empty() ? "DISPLAY=" + server.display() : displayName,
                                 "XDG_CACHE_HOME=" + folder.path() + "/cache"});
  }

  testing::Xvfb server;
  std::unique_ptr<Display, DisplayCloser> display;
  TempFolder folder;
};

TEST_F(HostProgram, OtherModeCreatesTheDataDirectoryAndEnds) {
  auto host = Start({"/a"});
  EXPECT_EQ(host->Wait(10s), 0);
  struct stat info {};
  ASSERT_EQ(stat(DataDirectory().c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(host->Stderr(), "");
  EXPECT_EQ(host->Stdout(), "");
}

TEST_F(HostProgram, WithoutADisplayOneLineOnStandardErrorAndExitOne) {
  for (const std::string& displayName : {std::string("DISPLAY"), std::string("DISPLAY=:4093")}) {
    auto host = Start({"/s"}, displayName);
    EXPECT_EQ(host->Wait(10s), 1) << displayName;
    const std::string error = host->Stderr();
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
    EXPECT_EQ(error.back(), '\n');
  }
  EXPECT_FALSE(std::filesystem::exists(DataDirectory()));
}

TEST_F(HostProgram, MissingTextureShowsItsMessageUntilDismissed) {
  std::filesystem::remove(folder / "host/Orvane.image");
  std::filesystem::remove(folder / "host/Orvane.dll");
  auto host = Start({"/s"});
  auto finder = MakeX11WindowFinder(display.get());
  WindowHandle box = 0;
  ASSERT_TRUE(testing::WaitFor(
      [&] { return (box = finder->FindWindow("Orvane (ScreenSaver)")) != 0; }, 15s));
  EXPECT_TRUE(std::filesystem::is_directory(DataDirectory())) << "made before the checks";
  // The box is drawn: more than one colour on it (text on the background).
  ASSERT_TRUE(testing::WaitFor(
      [&] {
        const auto shot = testing::TakeScreenshot(server.display(), box);
        if (!shot.valid()) return false;
        for (const auto& pixel : shot.pixels) {
          if (!(pixel == shot.pixels.front())) return true;
        }
        return false;
      },
      5s));
  EXPECT_FALSE(host->Wait(300ms).has_value()) << "it waits for the user";
  const auto [code, output] =
      testing::RunShell("DISPLAY=" + server.display() + " xdotool windowfocus --sync " +
                        std::to_string(box) + " key Return");
  EXPECT_EQ(code, 0) << output;
  // Dismissed: the process ends. Only one message: the one for the program never comes.
  EXPECT_EQ(host->Wait(10s), 0);
  EXPECT_EQ(finder->FindWindow("Orvane (ScreenSaver)"), 0u);
  EXPECT_EQ(host->Stderr(), "");
}

TEST_F(HostProgram, RefusedWhileAnUnmappedSaverWindowOfAnotherProcessExists) {
  const Window saver = testing::MakeWindow(display.get(), 0, 0, 10, 10);
  testing::SetWmName(display.get(), saver, "Orvane_Main");
  for (const char* mode : {"/s", "/c", "/a"}) {
    auto host = Start({mode});
    EXPECT_EQ(host->Wait(10s), 0) << mode;
    EXPECT_FALSE(std::filesystem::exists(DataDirectory())) << mode << " ended before step 3";
  }
  XDestroyWindow(display.get(), saver);
  XSync(display.get(), False);
  auto host = Start({"/a"});
  EXPECT_EQ(host->Wait(10s), 0);
  EXPECT_TRUE(std::filesystem::exists(DataDirectory())) << "runs once the saver is gone";
}

}  // namespace
}  // namespace orvane
