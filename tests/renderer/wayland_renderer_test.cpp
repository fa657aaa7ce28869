// The real Orvane.dll --wayland on a headless sway of two 640 × 480 outputs (the layer shell)
// and on weston (xdg-shell), run as a user of the test's own: the tunnel on every output, while
// outputs come, go and change their scale; Escape, SIGTERM, and no compositor at all.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <tuple>

#include "tests/renderer/tunnel_pixels.h"
#include "tests/support/wayland_session.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

constexpr Rgb kFog{153, 153, 0};

class WaylandRenderer : public ::testing::Test {
 protected:
  // The ramps picture where the session's user's renderer reads it, and the renderer itself,
  // in folders of that user: the build tree may lie where only its owner may enter (/root).
  static void GivePicture(const WaylandSession& session) {
    const std::string cache = session.home() + "/.cache";
    std::filesystem::create_directories(cache + "/t_ovin");
    WriteBytes(cache + "/t_ovin/Orvane.image", RampsPicture());
    ASSERT_TRUE(session.GiveToUser(cache));
    const std::string bin = session.home() + "/bin";
    std::filesystem::create_directories(bin);
    std::filesystem::copy_file(ProgramPath("Orvane.dll"), bin + "/Orvane.dll",
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(session.GiveToUser(bin));
  }
  static std::unique_ptr<Child> Start(const WaylandSession& session) {
    return session.Start({session.home() + "/bin/Orvane.dll", "--wayland"});
  }
  static bool FogShows(const WaylandSession& session, int x, int y,
                       std::chrono::milliseconds timeout) {
    return WaitFor(
        [&] {
          const std::optional<Rgb> pixel = session.Pixel(x, y);
          return pixel && Near(*pixel, kFog, 25);
        },
        timeout, 20ms);
  }
  // The fog's green alone says how deep the wall seen at a distance from the centre (x, y) of a
  // 480-pixel-high output is (the picture has no green): the field of view, 60 degrees over
  // the height, and the fog's density. The radii are the X11 test's 100 and 200 pixels of 768.
  static void ExpectWallDepths(const Screenshot& shot, int x, int y) {
    ASSERT_TRUE(shot.valid());
    for (const auto& [radius, low, high] : {std::tuple{62, 55, 68}, {125, 30, 39}})
      for (int angle = 0; angle < 360; angle += 30) {
        const double a = angle * std::numbers::pi / 180;
        const int green = shot.at(x + int(radius * std::cos(a)), y - int(radius * std::sin(a))).g;
        EXPECT_TRUE(green >= low && green <= high)
            << radius << " px at " << angle << " round " << x << "," << y << ": " << green;
      }
  }
};

// On sway: an overlay layer surface on each output (no window in sway's tree), drawn at each
// output's size; an output plugged in gets its tunnel, one unplugged takes only its own away,
// one scaled to 2 is drawn at its real pixels; no key but Escape ends it, with 0.
TEST_F(WaylandRenderer, OnSwayTheTunnelCoversEveryOutputAsOutputsComeGoAndScale) {
  WaylandSession sway;
  ASSERT_TRUE(sway.running()) << sway.Log();
  GivePicture(sway);
  auto renderer = Start(sway);
  for (const int x : {320, 960}) ASSERT_TRUE(FogShows(sway, x, 240, 30s)) << renderer->Stderr();
  const Screenshot both = sway.Shot(0, 0, 1280, 480);
  ExpectWallDepths(both, 320, 240);
  ExpectWallDepths(both, 960, 240);
  EXPECT_EQ(sway.Run({"swaymsg", "-t", "get_tree"}).second.find("Orvane_VC"), std::string::npos)
      << "a window, not a layer surface";

  for (const char* key : {"space", "Return", "a", "F1", "Tab"}) EXPECT_TRUE(sway.Type(key));
  EXPECT_TRUE(renderer->Running()) << "ended by a key other than Escape";

  const std::string added = sway.AddOutput();
  ASSERT_FALSE(added.empty());
  OutputInfo third;
  for (const OutputInfo& output : sway.Outputs())
    if (output.name == added) third = output;
  EXPECT_TRUE(FogShows(sway, third.x + 320, third.y + 240, 10s)) << added;

  // Unplugged: the first output's picture still moves.
  ASSERT_EQ(sway.Run({"swaymsg", "output", added, "disable"}).first, 0);
  const Screenshot before = sway.Shot(0, 0, 640, 480);
  EXPECT_TRUE(WaitFor([&] { return sway.Shot(0, 0, 640, 480).pixels != before.pixels; }, 10s));
  EXPECT_TRUE(renderer->Running()) << renderer->Stderr();

  // At scale 2 the output is 320 × 240 in the layout and 640 × 480 pixels, each of its own:
  // a picture drawn at 320 × 240 and doubled would repeat every pixel of a row once.
  ASSERT_TRUE(sway.SetScale("HEADLESS-2", 2));
  Screenshot sharp;
  int differingPairs = 0;
  const bool drawnAtRealPixels = WaitFor(
      [&] {
        sharp = sway.Shot(640, 0, 320, 240, 2);
        if (sharp.width != 640 || sharp.height != 480 || !Near(sharp.at(320, 240), kFog, 25))
          return false;
        differingPairs = 0;
        for (int y = 20; y < 480; y += 40)
          for (int x = 0; x < 640; x += 2)
            differingPairs += !(sharp.at(x, y) == sharp.at(x + 1, y));
        return differingPairs > 1000;  // of 3840
      },
      10s, 50ms);
  EXPECT_TRUE(drawnAtRealPixels) << differingPairs << " of 3840 pixel pairs differ";
  ExpectWallDepths(sharp, 320, 240);

  EXPECT_TRUE(sway.Type("Escape"));
  EXPECT_EQ(renderer->Wait(10s), 0) << renderer->Stderr();
}

// On weston, which has no layer shell: a full-screen window; SIGTERM ends it.
TEST_F(WaylandRenderer, OnWestonAFullScreenWindowShowsTheTunnelUntilSigterm) {
  WaylandSession weston(Compositor::Weston);
  ASSERT_TRUE(weston.running()) << weston.Log();
  GivePicture(weston);
  auto renderer = Start(weston);
  ASSERT_TRUE(FogShows(weston, 320, 240, 30s)) << renderer->Stderr();
  ExpectWallDepths(weston.Shot(0, 0, 640, 480), 320, 240);
  renderer->Signal(SIGTERM);
  EXPECT_EQ(renderer->Wait(10s), 128 + SIGTERM);
}

TEST_F(WaylandRenderer, WithoutACompositorEndsWithOneAndOneLine) {
  TempFolder runtime;
  Child renderer({ProgramPath("Orvane.dll"), "--wayland"},
                 {"XDG_RUNTIME_DIR=" + runtime.path(), "WAYLAND_DISPLAY=orvane-no-compositor"});
  EXPECT_EQ(renderer.Wait(30s), 1);
  EXPECT_EQ(renderer.Stderr(),
            "Orvane.dll: cannot connect to a Wayland compositor (is WAYLAND_DISPLAY set?)\n");
}

}  // namespace
}  // namespace orvane::testing
