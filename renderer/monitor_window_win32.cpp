// The renderer's Win32 side of covering every monitor: the GLUT window, made borderless and
// stretched over the virtual screen (glutFullScreen covers the monitor it opened on).
#include <windows.h>

#include <vector>

#include "renderer/monitor_layout.h"
#include "renderer/monitor_window.h"

namespace orvane::renderer {
namespace {

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM found) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<ScreenRect>*>(found)->push_back(
        {r.left, r.top, r.right - r.left, r.bottom - r.top});
  }
  return TRUE;
}

}  // namespace

std::optional<int> runAcrossMonitors() {
  return std::nullopt;
}

bool spreadGlutWindow() {
  std::vector<ScreenRect> monitors;
  EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&monitors));
  const MonitorLayout layout = layOutMonitors(monitors);
  // GLUT's window is the one its current GL context draws into.
  const HWND window = WindowFromDC(wglGetCurrentDC());
  if (layout.viewports.size() < 2 || window == nullptr) return false;
  useMonitorLayout(layout);
  SetWindowLongPtrW(window, GWL_STYLE, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  const ScreenRect& box = layout.window;
  SetWindowPos(window, HWND_TOP, box.x, box.y, box.width, box.height,
               SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  return true;
}

}  // namespace orvane::renderer
