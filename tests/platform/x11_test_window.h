#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

namespace orvane::testing {

// A window made by the test on a connection of its own, so that it belongs to another
// client than the part under test, as another process's window would.
inline Window MakeWindow(Display* display, int x, int y, int width, int height, Window parent = 0) {
  if (parent == 0) parent = DefaultRootWindow(display);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = WhitePixel(display, DefaultScreen(display));
  Window window = XCreateWindow(display, parent, x, y, width, height, 0, CopyFromParent,
                                InputOutput, CopyFromParent, CWBackPixel, &attributes);
  XSync(display, False);
  return window;
}

inline void SetWmName(Display* display, Window window, const std::string& title) {
  XChangeProperty(display, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()),
                  static_cast<int>(title.size()));
  XSync(display, False);
}

inline void SetNetWmName(Display* display, Window window, const std::string& title) {
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                  XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()),
                  static_cast<int>(title.size()));
  XSync(display, False);
}

inline Window ParentOf(Display* display, Window window) {
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
  if (children) XFree(children);
  return parent;
}

}  // namespace orvane::testing
