// The real Orvane.dll of either build (Windows' under Wine): its exit codes and what it draws.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <tuple>
#include <utility>

#include "tests/renderer/tunnel_pixels.h"
#include "tests/support/programs.h"
#include "tests/support/screenshot.h"

namespace orvane::renderer {
namespace {

using namespace std::chrono_literals;
using namespace orvane::testing;

class RendererRun : public ::testing::TestWithParam<Build> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb_.running());
    ASSERT_TRUE(programs_.ready());
  }
  std::unique_ptr<Child> start() { return programs_.Start(programs_.Built("Orvane.dll"), {}); }
  // The picture's path as the renderer prints it.
  std::string printed() const {
    return programs_.windows() ? "c:\\t_ovin\\Orvane.image" : picturePath_;
  }
  // The window once it draws what shows() looks for (at first it may not); 0 if it never does.
  unsigned long drawn(const std::function<bool(const Screenshot&)>& shows, Screenshot& shot) {
    const unsigned long window = programs_.FindWindow("Orvane_VC", 60s);
    if (window == 0) return 0;
    return WaitFor([&] { return shows(shot = TakeScreenshot(xvfb_.display(), window)); }, 30s, 50ms)
               ? window
               : 0;
  }

  Xvfb xvfb_;
  Programs programs_{GetParam(), xvfb_};
  const std::string picturePath_ = programs_.DataDirectory() + "/Orvane.image";
};

// No picture or an oversized one ends it with 1; a good one is drawn until Escape ends it.
TEST_P(RendererRun, EndsWithOneWithoutAPictureElseDrawsItOnEveryFaceUntilEscape) {
  auto missing = start();
  EXPECT_EQ(missing->Wait(90s), 1);
  EXPECT_EQ(missing->Stderr(), printed() + ": No such file or directory" + programs_.LineEnd());

  // An RLE header of 60000 × 60000 pixels in 3 channels.
  WriteBytes(picturePath_, std::string("\x01\xda\x01\x01\x00\x03\xea\x60\xea\x60\x00\x03", 12) +
                               std::string(500, '\0'));
  auto oversized = start();
  EXPECT_EQ(oversized->Wait(90s), 1);
  EXPECT_EQ(oversized->Stderr(),
            printed() + ": picture of 60000 x 60000 pixels in 3 channels is too large to read" +
                programs_.LineEnd());

  WriteBytes(picturePath_, RampsPicture());
  auto renderer = start();
  Screenshot shot;
  std::string why;
  const unsigned long window = drawn(
      [&](const Screenshot& s) {
        return s.width == 1024 && s.height == 768 && ShowsThePictureOnEveryFace(s, 512, 384, why);
      },
      shot);
  if (window == 0) shot.SavePpm(::testing::TempDir() + "/orvane-renderer-walls.ppm");
  ASSERT_NE(window, 0u) << why << "; see orvane-renderer-walls.ppm in " << ::testing::TempDir()
                        << "\n"
                        << renderer->Stderr();
  // The picture has no green: the fog's alone says how deep the wall seen at a distance from
  // the centre is, so the field of view (60 degrees over the height) and the fog's density.
  for (const auto& [radius, low, high] : {std::tuple{100, 55, 67}, {200, 30, 39}})
    for (int angle = 0; angle < 360; angle += 30) {
      const double a = angle * std::numbers::pi / 180;
      const int green = shot.at(512 + int(radius * std::cos(a)), 384 - int(radius * std::sin(a))).g;
      EXPECT_TRUE(green >= low && green <= high) << radius << " px at " << angle << ": " << green;
    }

  // Wine's own window handling would close the window on Alt+F4, as Windows does.
  EXPECT_EQ(programs_.Xdotool("mousemove --sync 500 400 key space Return a Z 7 Tab BackSpace Left "
                              "Right Up Down F1 F11 Home Page_Down click 1 click 3 mousemove "
                              "--sync 40 700" +
                              std::string(programs_.windows() ? "" : " key ctrl+c alt+F4")),
            "");
  // Two new frames after the input show that the renderer has read it and runs on.
  int frames = 0;
  EXPECT_TRUE(WaitFor(
      [&] {
        Screenshot now = TakeScreenshot(xvfb_.display(), window);
        if (now.valid() && now.pixels != shot.pixels) ++frames, shot = std::move(now);
        return frames == 2;
      },
      30s, 10ms))
      << "ended by input other than Escape";
  EXPECT_TRUE(renderer->Running());

  programs_.Xdotool("key Escape");
  EXPECT_EQ(renderer->Wait(30s), 0);

  // Each row holds a byte, a 64-byte packet, whose white bytes follow: it ends where its bytes do,
  // so the walls near the screen's edges are dark.
  std::string rows("\x01\xda\x01\x01\x00\x03\x00\x40\x00\x40\x00\x03", 12);
  rows.resize(512, '\0');
  for (int row = 0; row < 3 * 64; ++row) rows += std::string("\x00\x00\x08\x00", 4);
  for (int row = 0; row < 3 * 64; ++row) rows += std::string("\x00\x00\x00\x01", 4);
  WriteBytes(picturePath_, rows + '\xc0' + std::string(64, '\xff'));
  auto cut = start();
  const auto fogged = [](const Screenshot& s) {
    return s.width == 1024 && s.height == 768 && Near(s.at(512, 384), Rgb{153, 153, 0}, 25);
  };
  ASSERT_NE(drawn(fogged, shot), 0u) << cut->Stderr();
  for (const auto& [x, y] : {std::pair{10, 384}, {1013, 384}, {512, 10}, {512, 757}}) {
    const Rgb wall = shot.at(x, y);
    EXPECT_TRUE(wall.r < 80 && wall.g < 80 && wall.b < 40)
        << x << "," << y << ": " << int(wall.r) << " " << int(wall.g) << " " << int(wall.b);
  }
  programs_.Xdotool("key Escape");
  EXPECT_EQ(cut->Wait(30s), 0);
}

INSTANTIATE_TEST_SUITE_P(ORVANE_TEST_BUILD, RendererRun,
                         ::testing::Values(Build::ORVANE_TEST_BUILD), BuildName);

}  // namespace
}  // namespace orvane::renderer
