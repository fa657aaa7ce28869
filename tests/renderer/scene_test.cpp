#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>
#include <vector>

#include "renderer/frame_clock.h"
#include "renderer/monitor_layout.h"
#include "renderer/tunnel_scene.h"

namespace orvane::renderer {
namespace {

// Eight corners counter-clockwise from (1, 0), and the first again; rings 3 apart from z = 0.
TEST(SceneTest, RingsAndTheirCorners) {
  initRings();
  for (int k = 0; k < 9; ++k) {
    EXPECT_NEAR(ringCorner(rings[29], k).x, std::cos(k * std::numbers::pi / 4), 1e-6) << k;
    EXPECT_NEAR(ringCorner(rings[29], k).y, std::sin(k * std::numbers::pi / 4), 1e-6) << k;
  }
  for (int i = 0; i < 30; ++i) EXPECT_EQ(rings[i].z, -3.0f * i) << i;
}

// From 0.1 and falling by 0.0005 a frame, the speed rests at 0 after 200 frames, tops at 1
// after 2000 more and rests again 2000 later; the rings move on by it, none skipped.
TEST(SceneTest, SpeedRampsBetweenZeroAndOneAndTheRingsMoveOnByIt) {
  initRings();
  rampSpeed();
  EXPECT_FLOAT_EQ(tunnelSpeed, 0.0995f);
  advanceRings();
  EXPECT_FLOAT_EQ(rings[0].z, -2.9005f);
  EXPECT_FLOAT_EQ(rings[29].z, -89.9005f);
  std::vector<int> turns;
  for (int frame = 2; frame <= 4300; ++frame) {
    const int wasFalling = speedFalling;
    rampSpeed();
    advanceRings();
    ASSERT_TRUE(rings[0].z > -3.0f - 1e-3f && rings[0].z <= 0.0f) << frame;
    if (wasFalling != speedFalling) turns.push_back(frame);
  }
  ASSERT_EQ(turns.size(), 3u);
  EXPECT_NEAR(turns[0], 200, 2);
  EXPECT_NEAR(turns[1], 2200, 4);
  EXPECT_NEAR(turns[2], 4200, 6);
  for (int i = 1; i < 30; ++i) EXPECT_NEAR(rings[i - 1].z - rings[i].z, 3.0, 1e-4) << i;
}

// One degree a frame for ever: after a whole turn it starts again at 0.
TEST(SceneTest, RollStepsOneDegreeAFrameAndStartsAgainAfterAWholeTurn) {
  initRings();
  for (int n = 0; n < 800; ++n) ASSERT_EQ(takeRoll(), float(n % 360)) << n;
}

// The window covers the monitors; viewports count from the window's bottom edge, as GL does.
TEST(MonitorLayout, BoundingBoxViewportsAndEdgeMonitors) {
  // The monitors, the window, the viewports, and the monitors at the top, bottom, left and right.
  const std::tuple<std::vector<ScreenRect>, ScreenRect, std::vector<Viewport>, std::vector<int>>
      cases[] = {
          // clang-format off
      {{{0, 0, 1024, 768}}, {0, 0, 1024, 768}, {{0, 0, 1024, 768}}, {0, 0, 0, 0}},
      {{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}}, {0, 0, 3200, 1080},
       {{0, 0, 1920, 1080}, {1920, 56, 1280, 1024}}, {0, 0, 0, 1}},
      {{{0, 0, 1920, 1080}, {-1280, 200, 1280, 1024}}, {-1280, 0, 3200, 1224},
       {{1280, 144, 1920, 1080}, {0, 0, 1280, 1024}}, {0, 1, 1, 0}},
      // A mirrored output, an output of no area and one inside another show nothing more.
      {{{0, 0, 0, 768}, {0, 0, 1024, 768}, {1024, 0, 800, 0}, {0, 0, 1024, 768}},
       {0, 0, 1024, 768}, {{0, 0, 1024, 768}}, {1, 1, 1, 1}},
      {{{0, 0, 1280, 1024}, {0, 0, 1920, 1080}}, {0, 0, 1920, 1080}, {{0, 0, 1920, 1080}},
       {1, 1, 1, 1}},
      {{}, {0, 0, 0, 0}, {}, {0, 0, 0, 0}},
          // clang-format on
      };
  for (const auto& [monitors, window, viewports, edges] : cases) {
    SCOPED_TRACE(::testing::PrintToString(monitors.size()) + " monitors");
    const MonitorLayout layout = layOutMonitors(monitors);
    EXPECT_EQ(layout.window, window);
    EXPECT_EQ(layout.viewports, viewports);
    EXPECT_EQ((std::vector{layout.top, layout.bottom, layout.left, layout.right}), edges);
  }
}

// Deadlines 20 ms apart from the start, whenever each tick is noticed; a tick noticed late is
// one frame, the deadlines it overslept skipped; the wait to the next is exact, not rounded.
TEST(FrameClockTest, TicksOnATwentyMillisecondGridAndSkipsWhatItOverslept) {
  using std::chrono::microseconds;
  const FrameClock::Clock::time_point start{};
  FrameClock clock(start);
  EXPECT_FALSE(clock.takeTick(start + microseconds(19999)));
  EXPECT_EQ(clock.waitFrom(start + microseconds(19300)), std::chrono::nanoseconds(700000));
  EXPECT_TRUE(clock.takeTick(start + microseconds(20900)));
  EXPECT_EQ(clock.deadline(), start + microseconds(40000));
  EXPECT_FALSE(clock.takeTick(start + microseconds(21000)));
  EXPECT_TRUE(clock.takeTick(start + microseconds(40000)));
  // 35 ms late: one frame, then the next deadline of the grid still to come.
  EXPECT_TRUE(clock.takeTick(start + microseconds(95000)));
  EXPECT_EQ(clock.deadline(), start + microseconds(100000));
  EXPECT_FALSE(clock.takeTick(start + microseconds(99999)));
  EXPECT_EQ(clock.waitFrom(start + microseconds(100500)), std::chrono::nanoseconds(0));
  EXPECT_TRUE(clock.takeTick(start + microseconds(100500)));
}

}  // namespace
}  // namespace orvane::renderer
