// The real Orvane.dll of either build (Windows' under Wine): its exit codes and what it draws.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

#include "tests/renderer/tunnel_pixels.h"
#include "tests/support/programs.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

class RendererRun : public ::testing::TestWithParam<Build> {
 protected:
  std::unique_ptr<Child> Start() { return programs_.Start(programs_.Built("Orvane.dll"), {}); }
  // The window once it draws what shows() looks for (at first it may not); 0 if it never does.
  unsigned long Drawn(const std::function<bool(const Screenshot&)>& shows, Screenshot& shot) {
    const unsigned long window = programs_.FindWindow("Orvane_VC", 60s);
    const auto drawn = [&] {
      shot = TakeScreenshot(xvfb_.display(), window);
      return shot.width == 1024 && shot.height == 768 && shows(shot);
    };
    return window != 0 && WaitFor(drawn, 30s, 50ms) ? window : 0;
  }

  Xvfb xvfb_;
  Programs programs_{GetParam(), xvfb_};
  const std::string picture_ = programs_.DataDirectory() + "/Orvane.image";
};

// No picture or an oversized one ends it with 1; a good one is drawn until Escape ends it; a
// picture whose runs end early leaves the walls near the screen's edges dark.
TEST_P(RendererRun, EndsWithOneWithoutAPictureElseDrawsItOnEveryFaceUntilEscape) {
  ASSERT_TRUE(xvfb_.running() && programs_.ready());
  const std::string printed = programs_.windows() ? "c:\\t_ovin\\Orvane.image" : picture_;
  // Nothing, then an RLE header of 60000 × 60000 pixels in 3 channels.
  for (const auto& [bytes, error] :
       {std::pair<std::string, std::string>{"", ": No such file or directory"},
        {std::string("\x01\xda\x01\x01\x00\x03\xea\x60\xea\x60\x00\x03", 12) + std::string(500, 0),
         ": picture of 60000 x 60000 pixels in 3 channels is too large to read"}}) {
    if (!bytes.empty()) WriteBytes(picture_, bytes);
    auto refused = Start();
    EXPECT_EQ(refused->Wait(90s), 1);
    EXPECT_EQ(refused->Stderr(), printed + error + (programs_.windows() ? "\r\n" : "\n"));
  }

  WriteBytes(picture_, RampsPicture());
  auto renderer = Start();
  Screenshot shot;
  std::string why = "no window";
  const unsigned long window = Drawn(
      [&](const Screenshot& s) { return ShowsThePictureOnEveryFace(s, 512, 384, why); }, shot);
  if (window == 0) shot.SavePpm(::testing::TempDir() + "/orvane-renderer-walls.ppm");
  ASSERT_NE(window, 0u) << why << "; see orvane-renderer-walls.ppm in " << ::testing::TempDir()
                        << "\n"
                        << renderer->Stderr();
  EXPECT_TRUE(WallsAtTheirDepths(shot, 512, 384, 768, why)) << why;
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

  // Each row holds a byte, a 64-byte packet, whose white bytes follow: it ends where its bytes do.
  std::string rows("\x01\xda\x01\x01\x00\x03\x00\x40\x00\x40\x00\x03", 12);
  rows.resize(512, '\0');
  for (int row = 0; row < 3 * 64; ++row) rows += std::string("\x00\x00\x08\x00", 4);
  for (int row = 0; row < 3 * 64; ++row) rows += std::string("\x00\x00\x00\x01", 4);
  WriteBytes(picture_, rows + '\xc0' + std::string(64, '\xff'));
  auto cut = Start();
  ASSERT_NE(Drawn(
                [](const Screenshot& s) {
                  return Near(s.at(512, 384), {153, 153, 0}, 25);
                },
                shot),
            0u)
      << cut->Stderr();
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
}  // namespace orvane::testing
