// The Windows Orvane.dll under Wine, on an Xvfb of the test's own and in a Wine prefix of its
// own: its window, its exit codes and what it draws.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "renderer/sgi_writer.h"
#include "tests/support/child.h"
#include "tests/support/screenshot.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xvfb.h"

namespace orvane::renderer {
namespace {

using namespace std::chrono_literals;
using namespace orvane::testing;

// The Windows name of a file on the build machine, through Wine's drive Z:.
std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + std::filesystem::absolute(unixPath).string();
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

class RendererWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb_.running());
    ASSERT_TRUE(std::filesystem::exists(program_))
        << program_ << " is missing: scripts/windows.sh builds it";
    // A new prefix reports its own making on standard error; make it before the renderer runs.
    ASSERT_EQ(RunShell(wine_ + "wineboot -i >/dev/null 2>&1").first, 0);
    std::filesystem::create_directories(prefix_ / "drive_c/t_ovin");
  }
  // Ends whatever still runs in the test's own prefix, then lets the prefix go.
  void TearDown() override { RunShell(wine_ + "wineserver -k; " + wine_ + "wineserver -w"); }

  // Windows sets no DISPLAY variable, and freeglut would take one for a device name: cmd
  // clears it for the renderer alone, and hands back its exit code.
  std::unique_ptr<Child> startRenderer() {
    return std::make_unique<Child>(
        std::vector<std::string>{"wine", "cmd", "/c", "set DISPLAY=&& " + WindowsPath(program_)},
        std::vector<std::string>{"DISPLAY=" + xvfb_.display(), "WINEPREFIX=" + prefix_.path(),
                                 "WINEDEBUG=-all", "LANG=C.UTF-8", "LC_ALL=C.UTF-8"});
  }
  std::string xdotool(const std::string& arguments) {
    return RunShell("DISPLAY=" + xvfb_.display() + " xdotool " + arguments + " 2>&1").second;
  }

  Xvfb xvfb_;
  TempFolder prefix_;
  const std::string program_ = ORVANE_WINDOWS_BIN_DIR "/Orvane.dll";
  // Wine's desktop process starts with the prefix and keeps the display it was given.
  const std::string wine_ =
      "DISPLAY=" + xvfb_.display() + " WINEPREFIX='" + prefix_.path() + "' WINEDEBUG=-all ";
  const std::string picturePath_ = prefix_ / "drive_c/t_ovin/Orvane.image";
};

// The far end lies deep in the fog; the near walls show the blue picture through little fog.
bool showsFogAndWalls(const Screenshot& shot) {
  if (shot.width != 1024 || shot.height != 768) return false;
  bool walls = Near(shot.at(512, 384), Rgb{153, 153, 0}, 25);
  for (auto [x, y] : {std::pair{10, 384}, {1013, 384}, {512, 10}, {512, 757}}) {
    const Rgb p = shot.at(x, y);
    walls = walls && p.b > 150 && p.r < 100 && p.r == p.g;
  }
  return walls;
}

// Without its picture in C:\t_ovin it ends with 1 and the C library's report; with one it
// opens "Orvane_VC" full screen, draws the tunnel, ignores other keys and ends with 0 on Escape.
TEST_F(RendererWineTest, EndsWithOneWithoutAPictureElseDrawsTheTunnelUntilEscape) {
  auto missing = startRenderer();
  EXPECT_EQ(missing->Wait(90s), 1);
  EXPECT_EQ(missing->Stderr(), "c:\\t_ovin\\Orvane.image: No such file or directory\r\n");

  std::vector<std::uint8_t> stripes;
  for (int i = 0; i < 64 * 64; ++i)
    stripes.insert(stripes.end(), {0, 0, std::uint8_t(i / 8 % 2 ? 255 : 235)});
  const auto picture = encodeSgi(stripes.data(), 64, 64, 3, SgiStorage::runLength);
  WriteBytes(picturePath_, std::string(picture.begin(), picture.end()));
  auto renderer = startRenderer();
  unsigned long window = 0;
  WaitFor(
      [&] {
        const std::string found = xdotool("search --maxdepth 1 --name '^Orvane_VC$'");
        return (window = std::strtoul(found.c_str(), nullptr, 10)) != 0;
      },
      30s, 100ms);
  ASSERT_NE(window, 0u) << renderer->Stderr();

  Screenshot shot;
  const bool drawn = WaitFor(
      [&] { return showsFogAndWalls(shot = TakeScreenshot(xvfb_.display(), window)); }, 20s, 50ms);
  if (!drawn) shot.SavePpm(::testing::TempDir() + "/orvane-wine-walls.ppm");
  EXPECT_TRUE(drawn) << "see orvane-wine-walls.ppm in " << ::testing::TempDir();

  EXPECT_EQ(xdotool("key space Return a Left F1"), "");
  // Two new frames after the keys show that the renderer has read them and runs on.
  int frames = 0;
  EXPECT_TRUE(WaitFor(
      [&] {
        Screenshot now = TakeScreenshot(xvfb_.display(), window);
        if (now.valid() && now.pixels != shot.pixels) ++frames, shot = std::move(now);
        return frames == 2;
      },
      10s, 10ms))
      << "ended by a key other than Escape";
  EXPECT_TRUE(renderer->Running());

  xdotool("key Escape");
  EXPECT_EQ(renderer->Wait(10s), 0);
  EXPECT_EQ(renderer->Stdout(), "");
}

}  // namespace
}  // namespace orvane::renderer
