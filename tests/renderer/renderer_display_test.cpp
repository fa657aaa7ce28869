// The real Orvane.dll under an Xvfb of the test's own: its window, its input, its exit codes
// and what it draws.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <sstream>

#include "renderer/sgi_writer.h"
#include "tests/support/another_user.h"
#include "tests/support/child.h"
#include "tests/support/screenshot.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xvfb.h"

namespace orvane::renderer {
namespace {

using namespace std::chrono_literals;
using namespace orvane::testing;

class RendererDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb_.running());
    std::filesystem::create_directories(cache_ / "t_ovin");
  }
  std::unique_ptr<Child> startRenderer() {
    return std::make_unique<Child>(
        std::vector<std::string>{ORVANE_BIN_DIR "/Orvane.dll"},
        std::vector<std::string>{"DISPLAY=" + xvfb_.display(), "XDG_CACHE_HOME=" + cache_.path()});
  }
  std::string xdotool(const std::string& arguments) {
    return RunShell("DISPLAY=" + xvfb_.display() + " xdotool " + arguments + " 2>&1").second;
  }
  // The ids of the top-level windows titled exactly "Orvane_VC", one a line.
  std::string windows() { return xdotool("search --maxdepth 1 --name '^Orvane_VC$'"); }

  Xvfb xvfb_;
  TempFolder cache_;
  const std::string picturePath_ = cache_ / "t_ovin/Orvane.image";
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

// A missing or oversized picture ends the renderer with 1 and one line; a good one is drawn.
TEST_F(RendererDisplayTest, EndsWithOneWithoutAPictureElseDrawsFogAndWallsUntilEscape) {
  auto missing = startRenderer();
  EXPECT_EQ(missing->Wait(10s), 1);
  EXPECT_EQ(missing->Stderr(), picturePath_ + ": No such file or directory\n");

  // An RLE header of 60000 × 60000 pixels in 3 channels.
  WriteBytes(picturePath_, std::string("\x01\xda\x01\x01\x00\x03\xea\x60\xea\x60\x00\x03", 12) +
                               std::string(500, '\0'));
  auto oversized = startRenderer();
  EXPECT_EQ(oversized->Wait(10s), 1);
  EXPECT_EQ(
      oversized->Stderr(),
      picturePath_ + ": picture of 60000 x 60000 pixels in 3 channels is too large to read\n");

  // Two shades of blue, so that the turning tunnel changes the picture.
  std::vector<std::uint8_t> stripes;
  for (int i = 0; i < 64 * 64; ++i)
    stripes.insert(stripes.end(), {0, 0, std::uint8_t(i / 8 % 2 ? 255 : 235)});
  const auto picture = encodeSgi(stripes.data(), 64, 64, 3, SgiStorage::runLength);
  WriteBytes(picturePath_, std::string(picture.begin(), picture.end()));
  auto renderer = startRenderer();
  unsigned long window = 0;
  WaitFor([&] { return (window = std::strtoul(windows().c_str(), nullptr, 10)) != 0; }, 10s);
  ASSERT_NE(window, 0u) << renderer->Stderr();

  // The first frames may be black or not yet full screen: look until the picture shows.
  Screenshot shot;
  const bool drawn = WaitFor(
      [&] { return showsFogAndWalls(shot = TakeScreenshot(xvfb_.display(), window)); }, 20s, 50ms);
  if (!drawn) shot.SavePpm(::testing::TempDir() + "/orvane-renderer-walls.ppm");
  EXPECT_TRUE(drawn) << "see orvane-renderer-walls.ppm in " << ::testing::TempDir();
  EXPECT_EQ(windows(), std::to_string(window) + "\n");

  for (const char* input : {"mousemove --sync 500 400", "key space Return a Z 7 Tab BackSpace",
                            "key Left Right Up Down", "key F1 F11 Home Page_Down", "click 1",
                            "click 3", "mousemove --sync 40 700", "key ctrl+c alt+F4"})
    EXPECT_EQ(xdotool(input), "") << input;
  // Two new frames after the input show that the renderer has read it and runs on.
  int frames = 0;
  EXPECT_TRUE(WaitFor(
      [&] {
        Screenshot now = TakeScreenshot(xvfb_.display(), window);
        if (now.valid() && now.pixels != shot.pixels) ++frames, shot = std::move(now);
        return frames == 2;
      },
      10s, 10ms))
      << "ended by input other than Escape";
  EXPECT_TRUE(renderer->Running());

  xdotool("key Escape");
  EXPECT_EQ(renderer->Wait(5s), 0);
  EXPECT_EQ(renderer->Stdout(), "");
}

// Another user's data directory is not read from, whatever it holds.
TEST_F(RendererDisplayTest, EndsWithOneAndALineWhenTheDataDirectoryIsAnotherUsers) {
  const std::vector<std::uint8_t> grey(8 * 8 * 3, 128);
  const auto picture = encodeSgi(grey.data(), 8, 8, 3, SgiStorage::verbatim);
  WriteBytes(picturePath_, std::string(picture.begin(), picture.end()));
  chmod((cache_ / "t_ovin").c_str(), 0777);
  ASSERT_TRUE(GiveToAnotherUser(cache_ / "t_ovin")) << "giving a folder to another user takes root";
  auto renderer = startRenderer();
  EXPECT_EQ(renderer->Wait(10s), 1);
  EXPECT_EQ(renderer->Stderr(), "Orvane.dll: the data directory " + cache_ / "t_ovin" +
                                    " belongs to another user (owner nobody); it is not used\n");
}

}  // namespace
}  // namespace orvane::renderer
