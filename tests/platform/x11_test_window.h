#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <string>

namespace orvane::testing {

// A window made on a connection of the test's own, so that it belongs to another client than
// the part under test, as another process's window would.
inline Window MakeWindow(Display* display, int x, int y, int width, int height, Window parent = 0) {
  const Window window = XCreateSimpleWindow(display, parent ? parent : DefaultRootWindow(display),
                                            x, y, width, height, 0, 0, 0xFFFFFF);
  XSync(display, False);
  return window;
}

// Sets WM_NAME as Latin-1, or _NET_WM_NAME as UTF-8 when net is true.
inline void SetWmName(Display* display, Window window, const std::string& title, bool net = false) {
  XChangeProperty(display, window, net ? XInternAtom(display, "_NET_WM_NAME", False) : XA_WM_NAME,
                  net ? XInternAtom(display, "UTF8_STRING", False) : XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()),
                  static_cast<int>(title.size()));
  XSync(display, False);
}

}  // namespace orvane::testing
