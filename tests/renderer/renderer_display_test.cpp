// The real Orvane.dll under an Xvfb of the test's own: its window, its input, its exit codes
// and what it draws.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <sstream>
#include <utility>
#include <vector>

#include "renderer/sgi_writer.h"
#include "tests/renderer/renderer_fixture.h"
#include "tests/renderer/tunnel_pixels.h"
#include "tests/support/another_user.h"
#include "tests/support/child.h"
#include "tests/support/screenshot.h"

namespace orvane::renderer {
namespace {

using namespace std::chrono_literals;
using namespace orvane::testing;

class RendererDisplayTest : public RendererFixture {
 protected:
  std::string xdotool(const std::string& arguments) {
    return RunShell("DISPLAY=" + xvfb_.display() + " xdotool " + arguments + " 2>&1").second;
  }
  // The ids of the top-level windows titled exactly "Orvane_VC", one a line.
  std::string windows() { return xdotool("search --maxdepth 1 --name '^Orvane_VC$'"); }
};

bool showsThePictureOnEveryFace(const Screenshot& shot, std::string& why) {
  if (shot.width != 1024 || shot.height != 768) return why = "no full-screen shot", false;
  return ShowsThePictureOnEveryFace(shot, 512, 384, why);
}

// A missing or oversized picture ends the renderer with 1 and one line; a good one is drawn
// on every face the right way round.
TEST_F(RendererDisplayTest, EndsWithOneWithoutAPictureElseDrawsItOnEveryFaceUntilEscape) {
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

  WriteBytes(picturePath_, RampsPicture());
  auto renderer = startRenderer();
  unsigned long window = 0;
  WaitFor([&] { return (window = std::strtoul(windows().c_str(), nullptr, 10)) != 0; }, 10s);
  ASSERT_NE(window, 0u) << renderer->Stderr();

  // The first frames may be black or not yet full screen: look until the picture shows.
  Screenshot shot;
  std::string why;
  const bool drawn = WaitFor(
      [&] {
        return showsThePictureOnEveryFace(shot = TakeScreenshot(xvfb_.display(), window), why);
      },
      20s, 50ms);
  if (!drawn) shot.SavePpm(::testing::TempDir() + "/orvane-renderer-walls.ppm");
  EXPECT_TRUE(drawn) << why << "; see orvane-renderer-walls.ppm in " << ::testing::TempDir();
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
