#pragma once

// Where the tunnel goes on a desktop of several monitors: one window over the monitors'
// bounding box and one viewport per monitor. Plain C++, shared by the X11 and Win32 shells,
// which only ask the system for the monitors and place the window.

#include <span>
#include <vector>

namespace orvane::renderer {

// A rectangle of the desktop in pixels, y growing downward, as both systems give monitors.
struct ScreenRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const ScreenRect&) const = default;
};

// A viewport in a GL window's own coordinates: origin at the bottom-left corner, y upward.
struct Viewport {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Viewport&) const = default;
};

struct MonitorLayout {
  ScreenRect window;                // the monitors' bounding box, which the window covers
  std::vector<Viewport> viewports;  // one per monitor shown, for a window of that size
  // The monitors (indices into the list given) whose edges make the box's top, bottom, left
  // and right, as the window manager's full-screen-monitors hint takes them.
  int top = 0, bottom = 0, left = 0, right = 0;
};

// Monitors of no area are left out, and so is one that lies inside another (a mirrored
// output); of equal ones the first is kept. No viewport at all when no monitor is left.
MonitorLayout layOutMonitors(std::span<const ScreenRect> monitors);

// Width over height; a width or height of 0 counts as 1.
double viewportAspect(const Viewport& viewport);

// Set by a shell before the first frame; until then, and with one monitor, every frame draws
// one viewport over the whole window.
void useMonitorLayout(const MonitorLayout& layout);

// The viewports this frame draws into: one per monitor while the window has the size of the
// monitors' bounding box (a window manager may hold it smaller for a while), else the whole
// window of the last reshape.
std::span<const Viewport> frameViewports();

}  // namespace orvane::renderer
