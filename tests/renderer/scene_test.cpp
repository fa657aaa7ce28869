// The real frame code run against recorded GL calls: what one frame draws and in what order it
// moves the tunnel on.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "renderer/renderer_gl.h"
#include "renderer/tunnel_scene.h"
#include "tests/renderer/gl_recorder.h"

namespace orvane::renderer {
namespace {

using orvane::testing::GlBatch;
using orvane::testing::RecordedGl;

constexpr unsigned kQuads = 0x0007;
// cos and sin of the diagonal vertex angle, 0.7853975 rad.
constexpr float kDiagonal = 0.7071068f;
// The eight corners counter-clockwise from (1, 0) as the viewer sees them, and C0 again.
constexpr float kCorners[9][2] = {
    {1, 0},  {kDiagonal, kDiagonal},   {0, 1},  {-kDiagonal, kDiagonal},
    {-1, 0}, {-kDiagonal, -kDiagonal}, {0, -1}, {kDiagonal, -kDiagonal},
    {1, 0}};

class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windowWidth = 1024, windowHeight = 768;
    RecordedGl().Clear();
    initScene();
  }
  // Draws one frame and gives back the recorded near z of every segment and the far z of the
  // last, that is the ring positions the frame was drawn with.
  std::vector<float> frame() {
    RecordedGl().Clear();
    drawFrame();
    std::vector<float> drawn;
    for (const GlBatch& batch : RecordedGl().batches)
      if (batch.vertices.size() == 32) drawn.push_back(batch.vertices[0].z);
    if (!drawn.empty()) drawn.push_back(RecordedGl().batches[28].vertices[2].z);
    return drawn;
  }
  std::string roll() {
    for (const std::string& call : RecordedGl().calls)
      if (call.starts_with("glRotatef")) return call;
    return "no roll";
  }
};

// The values a viewer sees: the fog, the culling, the projection and viewport of the size the
// last reshape left (a height of 0 counts as 1), and the eye.
TEST_F(SceneTest, FogCullingProjectionViewportAndEye) {
  const auto call = [](std::string_view name) {
    std::string found;
    for (const std::string& c : RecordedGl().calls)
      if (c.starts_with(name)) found += (found.empty() ? "" : " + ") + c;
    return found;
  };
  EXPECT_EQ(call("glEnable"), "glEnable(GL_FOG) + glEnable(GL_CULL_FACE)");
  EXPECT_EQ(call("glFog"),
            "glFogi(GL_FOG_MODE, GL_EXP) + glFogfv(GL_FOG_COLOR, 0.6, 0.6, 0, 1) + "
            "glFogf(GL_FOG_DENSITY, 0.08)");
  for (const auto& [width, height, projection, viewport] :
       {std::tuple{1024, 768, "gluPerspective(60, 1.33333, 0.5, 100)",
                   "glViewport(0, 0, 1024, 768)"},
        {1920, 1080, "gluPerspective(60, 1.77778, 0.5, 100)", "glViewport(0, 0, 1920, 1080)"},
        {640, 0, "gluPerspective(60, 640, 0.5, 100)", "glViewport(0, 0, 640, 0)"}}) {
    windowWidth = width, windowHeight = height;
    frame();
    EXPECT_EQ(call("gluPerspective"), projection) << width << "x" << height;
    EXPECT_EQ(call("glViewport"), viewport) << width << "x" << height;
    EXPECT_EQ(call("gluLookAt"), "gluLookAt(0, 0, -2, 0, 0, -3, 0, 1, 0)");
  }
}

// Each face joins corners k and k+1 of its near and far ring, winds counter-clockwise as the
// viewer sees it, and shows the whole picture: s from 1 near to 0 far, t from 0 at corner k
// to 1 at corner k+1. The cap keeps the last texture coordinate.
TEST_F(SceneTest, EveryFaceShowsTheWholePictureBetweenItsCornersAndTheCapClosesTheEnd) {
  drawFrame();
  const std::vector<GlBatch>& batches = RecordedGl().batches;
  ASSERT_EQ(batches.size(), 30u);
  for (int i = 0; i < 29; ++i) {
    ASSERT_EQ(batches[i].mode, kQuads);
    ASSERT_EQ(batches[i].vertices.size(), 32u) << "segment " << i;
    const float nearZ = -3.0f * i, farZ = -3.0f * (i + 1);
    for (int k = 0; k < 8; ++k) {
      const struct {
        float s, t;
        const float* corner;
        float z;
      } expected[4] = {{1, 0, kCorners[k], nearZ},
                       {1, 1, kCorners[k + 1], nearZ},
                       {0, 1, kCorners[k + 1], farZ},
                       {0, 0, kCorners[k], farZ}};
      for (int v = 0; v < 4; ++v) {
        const auto& got = batches[i].vertices[4 * k + v];
        const auto& want = expected[v];
        SCOPED_TRACE("segment " + std::to_string(i) + " face " + std::to_string(k) + " vertex " +
                     std::to_string(v + 1));
        EXPECT_EQ(got.s, want.s);
        EXPECT_EQ(got.t, want.t);
        EXPECT_NEAR(got.x, want.corner[0], 1e-6);
        EXPECT_NEAR(got.y, want.corner[1], 1e-6);
        EXPECT_EQ(got.z, want.z);
      }
    }
  }
  const GlBatch& cap = batches[29];
  ASSERT_EQ(cap.mode, kQuads);
  const float capCorners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  ASSERT_EQ(cap.vertices.size(), 4u);
  for (int v = 0; v < 4; ++v) {
    EXPECT_EQ(cap.vertices[v].s, 0.0f) << v;
    EXPECT_EQ(cap.vertices[v].t, 0.0f) << v;
    EXPECT_EQ(cap.vertices[v].x, capCorners[v][0]) << v;
    EXPECT_EQ(cap.vertices[v].y, capCorners[v][1]) << v;
    EXPECT_EQ(cap.vertices[v].z, -45.0f) << v;
  }
}

// Within a frame the speed ramps first, the frame is drawn with the roll and the rings from
// before the frame, and then the rings move on by the new speed.
TEST_F(SceneTest, FrameRampsThenDrawsAtTheOldRollAndPlaceThenAdvances) {
  std::vector<float> drawn = frame();
  ASSERT_EQ(drawn.size(), 30u);
  EXPECT_EQ(roll(), "glRotatef(0, 0, 0, 1)");
  for (int i = 0; i < 30; ++i) EXPECT_EQ(drawn[i], -3.0f * i) << i;
  EXPECT_FLOAT_EQ(tunnelSpeed, 0.0995f);

  // Ring 0 moved to 0.0995 and was dropped; a new ring lies at -89.9005.
  drawn = frame();
  ASSERT_EQ(drawn.size(), 30u);
  EXPECT_EQ(roll(), "glRotatef(1, 0, 0, 1)");
  EXPECT_FLOAT_EQ(drawn[0], -2.9005f);
  EXPECT_FLOAT_EQ(drawn[29], -89.9005f);
  frame();
  EXPECT_FLOAT_EQ(rings[0].z, -2.9005f + 0.099f + 0.0985f);
}

TEST_F(SceneTest, RingExactlyAtZeroStaysInTheTable) {
  rampSpeed();
  const float speed = tunnelSpeed;  // the speed the next frame will move by
  initRings();
  for (int i = 0; i < kRingCount; ++i) rings[i].z = -speed - 3.0f * i;
  frame();
  EXPECT_EQ(rings[0].z, 0.0f);
  frame();  // now it has passed
  EXPECT_FLOAT_EQ(rings[0].z, -3.0f + tunnelSpeed);
}

TEST_F(SceneTest, SpeedRampStaysInRangeAndCyclesInAboutFourThousandFrames) {
  int rests[3] = {}, restCount = 0, topFrame = 0;
  for (int frame = 1; frame <= 9000 && restCount < 3; ++frame) {
    const int wasFalling = speedFalling;
    RecordedGl().Clear();
    drawFrame();
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

// The roll steps one degree a frame for ever: after a whole turn it starts again at 0 rather
// than growing until a float can no longer take one more degree.
TEST_F(SceneTest, RollStepsOneDegreeAFrameAndStartsAgainAfterAWholeTurn) {
  for (int n = 0; n < 800; ++n) {
    frame();
    ASSERT_EQ(roll(), "glRotatef(" + std::to_string(n % 360) + ", 0, 0, 1)") << "frame " << n;
  }
  EXPECT_TRUE(tunnelAngle >= 0.0f && tunnelAngle < 360.0f) << tunnelAngle;
}

}  // namespace
}  // namespace orvane::renderer
