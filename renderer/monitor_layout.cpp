#include "renderer/monitor_layout.h"

#include <algorithm>

#include "renderer/tunnel_scene.h"

namespace orvane::renderer {
namespace {

MonitorLayout layout;
Viewport wholeWindow;

bool contains(const ScreenRect& outer, const ScreenRect& inner) {
  return outer.width > 0 && outer.height > 0 && inner.x >= outer.x && inner.y >= outer.y &&
         inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

}  // namespace

MonitorLayout layOutMonitors(std::span<const ScreenRect> monitors) {
  MonitorLayout result;
  std::vector<ScreenRect> shown;
  std::vector<int> indices;
  const int count = static_cast<int>(monitors.size());
  for (int i = 0; i < count; ++i) {
    const ScreenRect& m = monitors[i];
    bool covered = m.width <= 0 || m.height <= 0;
    // A monitor lying wholly inside another (a mirror at a lower resolution) shows part of that
    // one's picture; of two equal ones (a plain mirror) the first is drawn.
    for (int j = 0; j < count && !covered; ++j)
      covered = j != i && contains(monitors[j], m) && (monitors[j] != m || j < i);
    if (covered) continue;
    shown.push_back(m);
    indices.push_back(i);
  }
  if (shown.empty()) return result;

  int left = shown[0].x, top = shown[0].y;
  int right = left + shown[0].width, bottom = top + shown[0].height;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const ScreenRect& m = shown[i];
    // The first monitor reaching an edge names it.
    if (m.x < left || i == 0) left = m.x, result.left = indices[i];
    if (m.y < top || i == 0) top = m.y, result.top = indices[i];
    if (m.x + m.width > right || i == 0) right = m.x + m.width, result.right = indices[i];
    if (m.y + m.height > bottom || i == 0) bottom = m.y + m.height, result.bottom = indices[i];
  }
  result.window = {left, top, right - left, bottom - top};
  // GL counts rows from the window's bottom edge: a monitor's lowest row is its first.
  for (const ScreenRect& m : shown)
    result.viewports.push_back({m.x - left, bottom - (m.y + m.height), m.width, m.height});
  return result;
}

double viewportAspect(const Viewport& viewport) {
  return static_cast<double>(std::max(viewport.width, 1)) / std::max(viewport.height, 1);
}

void useMonitorLayout(const MonitorLayout& chosen) {
  layout = chosen;
}

std::span<const Viewport> frameViewports() {
  if (layout.viewports.size() > 1 && windowWidth == layout.window.width &&
      windowHeight == layout.window.height)
    return layout.viewports;
  wholeWindow = {0, 0, windowWidth, windowHeight};
  return {&wholeWindow, 1};
}

}  // namespace orvane::renderer
