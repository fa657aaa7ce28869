// The layout of several monitors: the window over their bounding box and each monitor's
// viewport, counted in GL from the window's bottom edge.

#include "renderer/monitor_layout.h"

#include <gtest/gtest.h>

#include <vector>

#include "renderer/renderer_gl.h"
#include "renderer/tunnel_scene.h"
#include "tests/renderer/gl_recorder.h"

namespace orvane::renderer {
namespace {

using orvane::testing::RecordedGl;

struct LayoutCase {
  const char* name;
  std::vector<ScreenRect> monitors;
  ScreenRect window;
  std::vector<Viewport> viewports;
  int top, bottom, left, right;
};

TEST(MonitorLayout, BoundingBoxViewportsAndEdgeMonitors) {
  const LayoutCase cases[] = {
      {"one", {{0, 0, 1024, 768}}, {0, 0, 1024, 768}, {{0, 0, 1024, 768}}, 0, 0, 0, 0},
      // A smaller monitor right of the primary: the box's lower right corner is no monitor's.
      {"side by side",
       {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}},
       {0, 0, 3200, 1080},
       {{0, 0, 1920, 1080}, {1920, 56, 1280, 1024}},
       0,
       0,
       0,
       1},
      // Left of the primary and lower: the box starts at negative coordinates.
      {"left and lower",
       {{0, 0, 1920, 1080}, {-1280, 200, 1280, 1024}},
       {-1280, 0, 3200, 1224},
       {{1280, 144, 1920, 1080}, {0, 0, 1280, 1024}},
       0,
       1,
       1,
       0},
      {"stacked",
       {{0, 1080, 1920, 1080}, {320, 0, 1280, 1080}},
       {0, 0, 1920, 2160},
       {{0, 0, 1920, 1080}, {320, 1080, 1280, 1080}},
       1,
       0,
       0,
       0},
      // A mirrored output shows the same rectangle; an output of no area shows nothing.
      {"mirrored and empty",
       {{0, 0, 0, 768}, {0, 0, 1024, 768}, {1024, 0, 800, 0}, {0, 0, 1024, 768}},
       {0, 0, 1024, 768},
       {{0, 0, 1024, 768}},
       1,
       1,
       1,
       1},
      // A mirror at a lower resolution lies inside the larger monitor.
      {"inside another",
       {{0, 0, 1280, 1024}, {0, 0, 1920, 1080}},
       {0, 0, 1920, 1080},
       {{0, 0, 1920, 1080}},
       1,
       1,
       1,
       1},
      {"none", {}, {0, 0, 0, 0}, {}, 0, 0, 0, 0},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    const MonitorLayout layout = layOutMonitors(c.monitors);
    EXPECT_EQ(layout.window, c.window);
    EXPECT_EQ(layout.viewports, c.viewports);
    EXPECT_EQ((std::vector{layout.top, layout.bottom, layout.left, layout.right}),
              (std::vector{c.top, c.bottom, c.left, c.right}));
  }
}

class MonitorFrames : public ::testing::Test {
 protected:
  void SetUp() override {
    initScene();
    useMonitorLayout(
        layOutMonitors(std::vector<ScreenRect>{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}}));
  }
  void TearDown() override { useMonitorLayout({}); }
  std::vector<std::string> frameCalls(const char* prefix) {
    RecordedGl().Clear();
    drawFrame();
    std::vector<std::string> found;
    for (const std::string& call : RecordedGl().calls)
      if (call.starts_with(prefix)) found.push_back(call);
    return found;
  }
};

// While the window covers the box each monitor gets its own viewport and aspect and the same
// moment of the tunnel; the tunnel then moves on once. A window of another size (a window
// manager still placing it) gets one viewport over all of it.
TEST_F(MonitorFrames, EachMonitorShowsTheSameMomentInItsOwnViewportWhileTheWindowCoversThem) {
  windowWidth = 3200, windowHeight = 1080;
  EXPECT_EQ(frameCalls("glViewport"),
            (std::vector<std::string>{"glViewport(0, 0, 1920, 1080)",
                                      "glViewport(1920, 56, 1280, 1024)"}));
  EXPECT_EQ(RecordedGl().calls.front(), "glDrawBuffer(GL_BACK_LEFT)");
  EXPECT_EQ(RecordedGl().calls[1], "glClear(GL_COLOR_BUFFER_BIT|GL_DEPTH_BUFFER_BIT)");
  EXPECT_EQ(frameCalls("gluPerspective"),
            (std::vector<std::string>{"gluPerspective(60, 1.77778, 0.5, 100)",
                                      "gluPerspective(60, 1.25, 0.5, 100)"}));
  EXPECT_EQ(frameCalls("glRotatef"),
            (std::vector<std::string>{"glRotatef(2, 0, 0, 1)", "glRotatef(2, 0, 0, 1)"}));
  const auto& batches = RecordedGl().batches;
  ASSERT_EQ(batches.size(), 60u);
  EXPECT_EQ(batches[0].vertices[0].z, batches[30].vertices[0].z);
  EXPECT_EQ(tunnelAngle, 3.0f);
  EXPECT_FLOAT_EQ(rings[0].z, -3.0f + 0.0995f + 0.099f + 0.0985f);

  windowWidth = 1920, windowHeight = 1080;
  EXPECT_EQ(frameCalls("glViewport"), std::vector<std::string>{"glViewport(0, 0, 1920, 1080)"});
}

}  // namespace
}  // namespace orvane::renderer
