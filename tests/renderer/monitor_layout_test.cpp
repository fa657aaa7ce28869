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
using Calls = std::vector<std::string>;

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
      // The box's lower right corner is no monitor's.
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

Calls frameCalls(const char* prefix) {
  RecordedGl().Clear();
  drawFrame();
  Calls found;
  for (const std::string& call : RecordedGl().calls)
    if (call.starts_with(prefix)) found.push_back(call);
  return found;
}

// While the window covers the box each monitor gets its own viewport and aspect and the same
// moment of the tunnel, which then moves on once; a window of another size (a window manager
// still placing it) gets one viewport over all of it.
class MonitorFrames : public ::testing::Test {
  void SetUp() override {
    initScene();
    useMonitorLayout(
        layOutMonitors(std::vector<ScreenRect>{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}}));
  }
  void TearDown() override { useMonitorLayout({}); }
};

TEST_F(MonitorFrames, EachMonitorShowsTheSameMomentInItsOwnViewportWhileTheWindowCoversThem) {
  windowWidth = 3200, windowHeight = 1080;
  EXPECT_EQ(frameCalls("glViewport"),
            (Calls{"glViewport(0, 0, 1920, 1080)", "glViewport(1920, 56, 1280, 1024)"}));
  EXPECT_EQ(RecordedGl().calls[1], "glClear(GL_COLOR_BUFFER_BIT|GL_DEPTH_BUFFER_BIT)");
  EXPECT_EQ(frameCalls("gluPerspective"),
            (Calls{"gluPerspective(60, 1.77778, 0.5, 100)", "gluPerspective(60, 1.25, 0.5, 100)"}));
  EXPECT_EQ(frameCalls("glRotatef"), (Calls{"glRotatef(2, 0, 0, 1)", "glRotatef(2, 0, 0, 1)"}));
  const auto& batches = RecordedGl().batches;
  ASSERT_EQ(batches.size(), 60u);
  EXPECT_EQ(batches[0].vertices[0].z, batches[30].vertices[0].z);
  EXPECT_EQ(tunnelAngle, 3.0f);
  windowWidth = 1920, windowHeight = 1080;
  EXPECT_EQ(frameCalls("glViewport"), Calls{"glViewport(0, 0, 1920, 1080)"});
}

}  // namespace
}  // namespace orvane::renderer
