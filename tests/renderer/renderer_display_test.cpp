// The real Orvane.dll of either build (the Windows one under Wine) on an Xvfb of the test's
// own: its window, its input, its exit codes and what it draws.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <utility>
#include <vector>

#include "renderer/sgi_writer.h"
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
  // The full-screen window once it draws what shows() looks for (the first frames may be
  // black or not yet full screen); 0 when it never does.
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

// Clusters of sharp steps along samples: a rise or fall of more than threshold across two
// samples; with cyclic the samples go round and a cluster may wrap.
std::pair<int, int> sharpRisesAndFalls(const std::vector<int>& v, int threshold, bool cyclic) {
  const size_t n = v.size(), span = cyclic ? n : n - 2;
  std::vector<int> steps(span);
  for (size_t i = 0; i < span; ++i) {
    const int d = v[(i + 2) % n] - v[i];
    steps[i] = d > threshold ? 1 : d < -threshold ? -1 : 0;
  }
  int rises = 0, falls = 0;
  for (size_t i = 0; i < span; ++i) {
    const int before = i > 0 ? steps[i - 1] : cyclic ? steps[span - 1] : 0;
    if (steps[i] != 0 && steps[i] != before) ++(steps[i] > 0 ? rises : falls);
  }
  return {rises, falls};
}

// The picture's red follows s and its blue follows t. The far end lies deep in the fog. Walking
// counter-clockwise round the centre at any distance, so across the near and the far part of
// some segment in every frame, blue climbs across each face from corner k to corner k+1 and
// falls at each of the eight corners, whatever the roll; walking outward, red climbs across
// each segment from its far ring to its near ring and falls where the next one begins.
bool showsThePictureOnEveryFace(const Screenshot& shot, std::string& why) {
  if (shot.width != 1024 || shot.height != 768) return why = "no full-screen shot", false;
  if (!Near(shot.at(512, 384), Rgb{153, 153, 0}, 25)) return why = "no fog at the far end", false;
  for (int radius = 100; radius <= 340; radius += 20) {
    std::vector<int> round;
    for (int i = 0; i < 720; ++i) {
      const double angle = i * std::numbers::pi / 360;
      round.push_back(shot.at(512 + int(std::lround(radius * std::cos(angle))),
                              384 - int(std::lround(radius * std::sin(angle))))
                          .b);
    }
    const auto [rises, falls] = sharpRisesAndFalls(round, 100, true);
    if (rises != 0 || falls != 8) {
      why = "at " + std::to_string(radius) + " pixels round the centre blue rises sharply " +
            std::to_string(rises) + " times and falls " + std::to_string(falls) + " times";
      return false;
    }
  }
  int redRises = 0, redFalls = 0;
  for (const auto& [dx, dy] : {std::pair{1, 0}, {0, -1}, {-1, 0}, {0, 1}}) {
    std::vector<int> outward;
    for (int r = 60; r <= 370; ++r) outward.push_back(shot.at(512 + dx * r, 384 + dy * r).r);
    const auto [rises, falls] = sharpRisesAndFalls(outward, 40, false);
    redRises += rises, redFalls += falls;
  }
  why = "outward red rises sharply " + std::to_string(redRises) + " times and falls " +
        std::to_string(redFalls) + " times";
  return redFalls >= 8 && redRises == 0;
}

// A missing or oversized picture ends the renderer with 1 and one line; a good one is drawn
// on every face the right way round, and only Escape ends it, with 0.
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

  // Red grows with the column (s), blue with the row (t); row 0 is stored first.
  std::vector<std::uint8_t> ramps;
  for (int row = 0; row < 256; ++row)
    for (int column = 0; column < 256; ++column)
      ramps.insert(ramps.end(), {std::uint8_t(column), 0, std::uint8_t(row)});
  const auto picture = encodeSgi(ramps.data(), 256, 256, 3, SgiStorage::runLength);
  WriteBytes(picturePath_, std::string(picture.begin(), picture.end()));
  auto renderer = start();
  Screenshot shot;
  std::string why;
  const unsigned long window =
      drawn([&](const Screenshot& s) { return showsThePictureOnEveryFace(s, why); }, shot);
  if (window == 0) shot.SavePpm(::testing::TempDir() + "/orvane-renderer-walls.ppm");
  ASSERT_NE(window, 0u) << why << "; see orvane-renderer-walls.ppm in " << ::testing::TempDir()
                        << "\n"
                        << renderer->Stderr();
  EXPECT_EQ(programs_.FindWindow("Orvane_VC"), window) << "one window";

  std::vector<std::string> inputs = {"mousemove --sync 500 400",
                                     "key space Return a Z 7 Tab BackSpace",
                                     "key Left Right Up Down",
                                     "key F1 F11 Home Page_Down",
                                     "click 1",
                                     "click 3",
                                     "mousemove --sync 40 700"};
  // Wine's own window handling would close the window on Alt+F4, as Windows does.
  if (!programs_.windows()) inputs.push_back("key ctrl+c alt+F4");
  for (const std::string& input : inputs) EXPECT_EQ(programs_.Xdotool(input), "") << input;
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
  EXPECT_EQ(renderer->Stdout(), "");
}

// Every row of this run-length picture says it holds one byte, a packet of 64 bytes to copy
// whose bytes (white) follow in the file: a row ends where its bytes do, so the rest of it is
// black, and the walls near the screen's edges are dark, the fog barely tinting them.
TEST_P(RendererRun, RowsEndWhereTheirBytesDoEvenInsideAPacket) {
  std::string file("\x01\xda\x01\x01\x00\x03\x00\x40\x00\x40\x00\x03", 12);
  file.resize(512, '\0');
  for (int row = 0; row < 3 * 64; ++row) file += std::string("\x00\x00\x08\x00", 4);
  for (int row = 0; row < 3 * 64; ++row) file += std::string("\x00\x00\x00\x01", 4);
  file += '\xc0' + std::string(64, '\xff');
  WriteBytes(picturePath_, file);
  auto renderer = start();
  Screenshot shot;
  const unsigned long window = drawn(
      [](const Screenshot& s) {
        return s.width == 1024 && s.height == 768 && Near(s.at(512, 384), Rgb{153, 153, 0}, 25);
      },
      shot);
  ASSERT_NE(window, 0u) << renderer->Stderr();
  for (const auto& [x, y] : {std::pair{10, 384}, {1013, 384}, {512, 10}, {512, 757}}) {
    const Rgb wall = shot.at(x, y);
    EXPECT_TRUE(wall.r < 80 && wall.g < 80 && wall.b < 40)
        << x << "," << y << ": " << int(wall.r) << " " << int(wall.g) << " " << int(wall.b);
  }
  programs_.Xdotool("key Escape");
  EXPECT_EQ(renderer->Wait(30s), 0);
}

INSTANTIATE_TEST_SUITE_P(ORVANE_TEST_BUILD, RendererRun,
                         ::testing::Values(Build::ORVANE_TEST_BUILD), BuildName);

}  // namespace
}  // namespace orvane::renderer
