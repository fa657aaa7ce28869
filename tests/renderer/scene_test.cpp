// The tunnel's motion and geometry, frame by frame, without a GL context.

#include <gtest/gtest.h>

#include <tuple>

#include "renderer/tunnel_scene.h"

namespace orvane::renderer {
namespace {

class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override { initRings(); }
};

TEST_F(SceneTest, FirstFrameDropsRingZeroAndAppendsOneAtTheFarEnd) {
  EXPECT_EQ(takeRoll(), 0.0f);  // the first frame is drawn without roll
  tunnelAngle = 0.0f;
  stepFrame();
  EXPECT_FLOAT_EQ(tunnelSpeed, 0.0995f);
  EXPECT_EQ(speedFalling, 1);
  EXPECT_EQ(tunnelAngle, 1.0f);
  // Old ring 1 is now the nearest; the new last ring lies one spacing behind its neighbour.
  EXPECT_FLOAT_EQ(rings[0].z, -3.0f + 0.0995f);
  EXPECT_FLOAT_EQ(rings[kRingCount - 1].z, -89.9005f);
  EXPECT_EQ(rings[kRingCount - 1].x, rings[0].x);
}

TEST_F(SceneTest, RingExactlyAtZeroStaysInTheTable) {
  rampSpeed();
  const float speed = tunnelSpeed;  // the speed the next advance will use
  initRings();
  for (int i = 0; i < kRingCount; ++i) rings[i].z = -speed - 3.0f * i;
  stepFrame();
  EXPECT_EQ(rings[0].z, 0.0f);
  stepFrame();  // now it has passed
  EXPECT_FLOAT_EQ(rings[0].z, -3.0f + tunnelSpeed);
}

TEST_F(SceneTest, SpeedRampStaysInRangeAndCyclesInAboutFourThousandFrames) {
  int rests[3] = {}, restCount = 0, topFrame = 0;
  for (int frame = 1; frame <= 9000 && restCount < 3; ++frame) {
    const int wasFalling = speedFalling;
    stepFrame();
    ASSERT_TRUE(tunnelSpeed >= 0.0f && tunnelSpeed <= 1.0f) << frame;
    ASSERT_TRUE(rings[0].z > -3.0f - 1e-3f && rings[0].z <= 0.0f) << frame;  // no ring skipped
    // The ramp turns round exactly at the clamps.
    EXPECT_TRUE(wasFalling == speedFalling || tunnelSpeed == (wasFalling ? 0.0f : 1.0f)) << frame;
    if (wasFalling && !speedFalling) rests[restCount++] = frame;
    if (!wasFalling && speedFalling) topFrame = frame;
  }
  ASSERT_EQ(restCount, 3);
  EXPECT_NEAR(rests[0], 200, 2);
  EXPECT_NEAR(rests[1] - rests[0], 4000, 4);
  EXPECT_NEAR(rests[2] - rests[1], 4000, 4);
  EXPECT_NEAR(topFrame - rests[1], 2000, 2);
  for (int i = 1; i < kRingCount; ++i) EXPECT_NEAR(rings[i - 1].z - rings[i].z, 3.0, 1e-4) << i;
}

TEST(SceneAspectTest, ZeroSizedWindowNeverDividesByZero) {
  for (const auto& [width, height, aspect] :
       {std::tuple{1024, 768, 1024.0 / 768.0}, {1024, 0, 1024.0}, {0, 0, 1.0}}) {
    windowWidth = width, windowHeight = height;
    EXPECT_DOUBLE_EQ(aspectRatio(), aspect) << width << "x" << height;
  }
}

}  // namespace
}  // namespace orvane::renderer
