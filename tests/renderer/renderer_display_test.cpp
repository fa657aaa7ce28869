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
// counter-clockwise round the centre, blue climbs across each face from corner k to corner k+1
// and falls at each of the eight corners, whatever the roll; walking outward, red climbs
// across each segment from its far ring to its near ring and falls where the next one begins.
bool showsThePictureOnEveryFace(const Screenshot& shot, std::string& why) {
  if (shot.width != 1024 || shot.height != 768) return why = "no full-screen shot", false;
  if (!Near(shot.at(512, 384), Rgb{153, 153, 0}, 25)) return why = "no fog at the far end", false;
  std::vector<int> round;
  for (int i = 0; i < 720; ++i) {
    const double angle = i * std::numbers::pi / 360;
    round.push_back(shot.at(512 + int(std::lround(200 * std::cos(angle))),
                            384 - int(std::lround(200 * std::sin(angle))))
                        .b);
  }
  const auto [blueRises, blueFalls] = sharpRisesAndFalls(round, 100, true);
  int redRises = 0, redFalls = 0;
  for (const auto& [dx, dy] : {std::pair{1, 0}, {0, -1}, {-1, 0}, {0, 1}}) {
    std::vector<int> outward;
    for (int r = 60; r <= 370; ++r) outward.push_back(shot.at(512 + dx * r, 384 + dy * r).r);
    const auto [rises, falls] = sharpRisesAndFalls(outward, 40, false);
    redRises += rises, redFalls += falls;
  }
  why = "round the centre blue rises sharply " + std::to_string(blueRises) + " times and falls " +
        std::to_string(blueFalls) + " times; outward red rises sharply " +
        std::to_string(redRises) + " times and falls " + std::to_string(redFalls) + " times";
  return blueFalls == 8 && blueRises == 0 && redFalls >= 8 && redRises == 0;
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

  // Red grows with the column (s), blue with the row (t); row 0 is stored first.
  std::vector<std::uint8_t> ramps;
  for (int row = 0; row < 256; ++row)
    for (int column = 0; column < 256; ++column)
      ramps.insert(ramps.end(), {std::uint8_t(column), 0, std::uint8_t(row)});
  const auto picture = encodeSgi(ramps.data(), 256, 256, 3, SgiStorage::runLength);
  WriteBytes(picturePath_, std::string(picture.begin(), picture.end()));
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
