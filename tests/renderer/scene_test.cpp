// The tunnel's motion and geometry, frame by frame, without a GL context.

#include <gtest/gtest.h>

#include <cmath>

#include "renderer/tunnel_scene.h"

namespace orvane::renderer {
namespace {

class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override { initRings(); }
};

void expectStraightTable() {
  const float x = static_cast<float>(std::cos(0.7853975));
  for (int i = 0; i < kRingCount; ++i) {
    EXPECT_EQ(rings[i].x, x) << i;
    EXPECT_EQ(rings[i].y, static_cast<float>(std::sin(0.7853975))) << i;
    if (i > 0) {
      EXPECT_NEAR(rings[i - 1].z - rings[i].z, 3.0, 1e-4) << i;
    }
  }
}

TEST_F(SceneTest, FirstFrameDropsRingZeroAndAppendsOneAtTheFarEnd) {
  for (int i = 0; i < kRingCount; ++i) EXPECT_EQ(rings[i].z, -3.0f * i);
  EXPECT_EQ(takeRoll(), 0.0f);  // the first frame is drawn without roll
  tunnelAngle = 0.0f;

  stepFrame();
  EXPECT_FLOAT_EQ(tunnelSpeed, 0.0995f);
  EXPECT_EQ(speedFalling, 1);
  EXPECT_EQ(tunnelAngle, 1.0f);
  // Old ring 1 is now the nearest; the new last ring lies one spacing behind its neighbour.
  EXPECT_FLOAT_EQ(rings[0].z, -3.0f + 0.0995f);
  EXPECT_FLOAT_EQ(rings[kRingCount - 1].z, -89.9005f);
  expectStraightTable();
}

TEST_F(SceneTest, RingExactlyAtZeroStaysInTheTable) {
  rampSpeed();
  const float speed = tunnelSpeed;  // the speed the next advance will use
  initRings();
  for (int i = 0; i < kRingCount; ++i) rings[i].z = -speed - 3.0f * i;
  stepFrame();
  EXPECT_EQ(rings[0].z, 0.0f);
  EXPECT_FLOAT_EQ(rings[1].z, -3.0f);

  stepFrame();  // now it has passed
  EXPECT_FLOAT_EQ(rings[0].z, -3.0f + tunnelSpeed);
}

TEST_F(SceneTest, AtRestTheRingsStayButTheRollGoesOn) {
  tunnelSpeed = 0.0f;
  speedFalling = 1;
  rings[0].z = 0.0f;
  tunnelAngle = 359.5f;
  stepFrame();  // the step below 0 is clamped to 0 and the ramp turns round
  EXPECT_EQ(tunnelSpeed, 0.0f);
  EXPECT_EQ(speedFalling, 0);
  EXPECT_EQ(rings[0].z, 0.0f);
  EXPECT_EQ(rings[29].z, -87.0f);
  EXPECT_EQ(tunnelAngle, 360.5f);  // never reduced modulo 360
}

TEST_F(SceneTest, SpeedRampStaysInRangeAndCyclesInAboutFourThousandFrames) {
  int restFrames[3] = {};
  int rests = 0;
  int topFrame = 0;
  for (int frame = 1; frame <= 9000 && rests < 3; ++frame) {
    const int wasFalling = speedFalling;
    stepFrame();
    ASSERT_GE(tunnelSpeed, 0.0f);
    ASSERT_LE(tunnelSpeed, 1.0f);
    ASSERT_GT(rings[0].z, -3.0f - 1e-3f) << frame;  // never skips a ring
    ASSERT_LE(rings[0].z, 0.0f) << frame;
    if (wasFalling && !speedFalling) {
      EXPECT_EQ(tunnelSpeed, 0.0f);
      restFrames[rests++] = frame;
    }
    if (!wasFalling && speedFalling) {
      EXPECT_EQ(tunnelSpeed, 1.0f);
      topFrame = frame;
    }
  }
  ASSERT_EQ(rests, 3);
  EXPECT_NEAR(restFrames[0], 200, 2);
  EXPECT_NEAR(restFrames[1] - restFrames[0], 4000, 4);
  EXPECT_NEAR(restFrames[2] - restFrames[1], 4000, 4);
  EXPECT_NEAR(topFrame - restFrames[1], 2000, 2);
  expectStraightTable();
}

// Seen through the camera (eye at z = -2 looking down -z, y up), every face of every segment
// in front of the eye must wind counter-clockwise, or back-face culling removes it.
TEST_F(SceneTest, EveryFaceWindsCounterClockwiseAsSeenFromInside) {
  for (float roll : {0.0f, 37.0f, 200.0f}) {
    const double c = std::cos(roll * M_PI / 180.0), s = std::sin(roll * M_PI / 180.0);
    for (int i = 1; i < kSegmentCount; ++i) {
      const Ring* ends[2] = {&rings[i], &rings[i + 1]};
      for (int k = 0; k < kFacesPerSegment; ++k) {
        const struct { int ring, corner; } quad[4] = {{0, k}, {0, k + 1}, {1, k + 1}, {1, k}};
        double screen[4][2];
        for (int v = 0; v < 4; ++v) {
          const Ring& r = *ends[quad[v].ring];
          const Corner p = ringCorner(r, quad[v].corner);
          const double depth = -2.0 - r.z;
          screen[v][0] = (c * p.x - s * p.y) / depth;
          screen[v][1] = (s * p.x + c * p.y) / depth;
        }
        double area = 0.0;
        for (int v = 0; v < 4; ++v) {
          const int w = (v + 1) % 4;
          area += screen[v][0] * screen[w][1] - screen[w][0] * screen[v][1];
        }
        EXPECT_GT(area, 0.0) << "segment " << i << " face " << k << " roll " << roll;
      }
    }
  }
}

TEST(SceneAspectTest, ZeroSizedWindowNeverDividesByZero) {
  windowWidth = 1024;
  windowHeight = 768;
  EXPECT_DOUBLE_EQ(aspectRatio(), 1024.0 / 768.0);
  windowHeight = 0;
  EXPECT_DOUBLE_EQ(aspectRatio(), 1024.0);
  windowWidth = 0;
  EXPECT_DOUBLE_EQ(aspectRatio(), 1.0);
}

}  // namespace
}  // namespace orvane::renderer
