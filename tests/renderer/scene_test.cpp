// The tunnel's shape and motion, frame by frame, and where it goes on several monitors.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "renderer/monitor_layout.h"
#include "renderer/tunnel_scene.h"

namespace orvane::renderer {
namespace {

// Eight corners counter-clockwise from (1, 0), and the first again; the diagonal ones at
// 0.7853975 rad. Rings start 3 apart from z = 0.
TEST(SceneTest, RingsAndTheirCorners) {
  initRings();
  const float d = 0.7071068f;
  const float corners[9][2] = {{1, 0},   {d, d},  {0, 1},  {-d, d}, {-1, 0},
                               {-d, -d}, {0, -1}, {d, -d}, {1, 0}};
  for (int k = 0; k < 9; ++k) {
    EXPECT_NEAR(ringCorner(rings[29], k).x, corners[k][0], 1e-6) << k;
    EXPECT_NEAR(ringCorner(rings[29], k).y, corners[k][1], 1e-6) << k;
  }
  for (int i = 0; i < 30; ++i) EXPECT_EQ(rings[i].z, -3.0f * i) << i;
}

// From 0.1 and falling by 0.0005 a frame, the speed rests at 0 after about 200 frames, then
// climbs to 1 and falls back in 4000; the rings move on by it, none skipped, and a ring that
// reaches exactly 0 is dropped only once past it.
TEST(SceneTest, SpeedRampsBetweenZeroAndOneAndTheRingsMoveOnByIt) {
  initRings();
  rampSpeed();
  EXPECT_FLOAT_EQ(tunnelSpeed, 0.0995f);
  advanceRings();
  EXPECT_FLOAT_EQ(rings[0].z, -2.9005f);
  EXPECT_FLOAT_EQ(rings[29].z, -89.9005f);
  rampSpeed();
  for (int i = 0; i < 30; ++i) rings[i].z = -tunnelSpeed - 3.0f * i;
  advanceRings();
  EXPECT_EQ(rings[0].z, 0.0f);
  int rests[3] = {}, restCount = 0, topFrame = 0;
  for (int frame = 3; frame <= 9000 && restCount < 3; ++frame) {
    const int wasFalling = speedFalling;
    rampSpeed();
    advanceRings();
    ASSERT_TRUE(tunnelSpeed >= 0.0f && tunnelSpeed <= 1.0f) << frame;
    ASSERT_TRUE(rings[0].z > -3.0f - 1e-3f && rings[0].z <= 0.0f) << frame;
    if (wasFalling && !speedFalling) rests[restCount++] = frame;
    if (!wasFalling && speedFalling) topFrame = frame;
  }
  ASSERT_EQ(restCount, 3);
  EXPECT_NEAR(rests[0], 200, 2);
  EXPECT_NEAR(rests[1] - rests[0], 4000, 4);
  EXPECT_NEAR(rests[2] - rests[1], 4000, 4);
  EXPECT_NEAR(topFrame - rests[1], 2000, 2);
  for (int i = 1; i < 30; ++i) EXPECT_NEAR(rings[i - 1].z - rings[i].z, 3.0, 1e-4) << i;
}

// One degree a frame for ever: after a whole turn it starts again at 0.
TEST(SceneTest, RollStepsOneDegreeAFrameAndStartsAgainAfterAWholeTurn) {
  initRings();
  for (int n = 0; n < 800; ++n) ASSERT_EQ(takeRoll(), float(n % 360)) << n;
}

// The window covers the monitors' bounding box; each monitor's viewport is counted from the
// window's bottom edge, as GL counts.
TEST(MonitorLayout, BoundingBoxViewportsAndEdgeMonitors) {
  const struct {
    const char* name;
    std::vector<ScreenRect> monitors;
    ScreenRect window;
    std::vector<Viewport> viewports;
    std::vector<int> edges;  // top, bottom, left, right
  } cases[] = {
      // clang-format off
      {"one", {{0, 0, 1024, 768}}, {0, 0, 1024, 768}, {{0, 0, 1024, 768}}, {0, 0, 0, 0}},
      {"side by side", {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}}, {0, 0, 3200, 1080},
       {{0, 0, 1920, 1080}, {1920, 56, 1280, 1024}}, {0, 0, 0, 1}},
      {"left and lower", {{0, 0, 1920, 1080}, {-1280, 200, 1280, 1024}}, {-1280, 0, 3200, 1224},
       {{1280, 144, 1920, 1080}, {0, 0, 1280, 1024}}, {0, 1, 1, 0}},
      {"stacked", {{0, 1080, 1920, 1080}, {320, 0, 1280, 1080}}, {0, 0, 1920, 2160},
       {{0, 0, 1920, 1080}, {320, 1080, 1280, 1080}}, {1, 0, 0, 0}},
      // A mirrored output shows the same rectangle; an output of no area shows nothing.
      {"mirrored and empty",
       {{0, 0, 0, 768}, {0, 0, 1024, 768}, {1024, 0, 800, 0}, {0, 0, 1024, 768}},
       {0, 0, 1024, 768}, {{0, 0, 1024, 768}}, {1, 1, 1, 1}},
      {"inside another", {{0, 0, 1280, 1024}, {0, 0, 1920, 1080}}, {0, 0, 1920, 1080},
       {{0, 0, 1920, 1080}}, {1, 1, 1, 1}},
      {"none", {}, {0, 0, 0, 0}, {}, {0, 0, 0, 0}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MonitorLayout layout = layOutMonitors(c.monitors);
    EXPECT_EQ(layout.window, c.window);
    EXPECT_EQ(layout.viewports, c.viewports);
    EXPECT_EQ((std::vector{layout.top, layout.bottom, layout.left, layout.right}), c.edges);
  }
}

}  // namespace
}  // namespace orvane::renderer
