#include "host/controls/window_from_point_x11.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>

namespace orvane {

std::optional<WindowId> WindowFromPointer(GdkDisplay* display) {
  if (display == nullptr || !GDK_IS_X11_DISPLAY(display)) return std::nullopt;
  Display* x = gdk_x11_display_get_xdisplay(display);
  // A window may vanish while we walk down to it; its error must not end the program.
  gdk_x11_display_error_trap_push(display);
  Window window = DefaultRootWindow(x);
  std::optional<WindowId> found;
  for (int depth = 0; depth < 64; ++depth) {
    Window root = 0, child = 0;
    int rootX, rootY, winX, winY;
    unsigned int mask;
    if (!XQueryPointer(x, window, &root, &child, &rootX, &rootY, &winX, &winY, &mask)) break;
    if (child == None) {
      found = window;
      break;
    }
    window = child;
  }
  gdk_x11_display_error_trap_pop_ignored(display);
  return found;
}

std::optional<WindowId> NativeWindowOf(GdkWindow* window) {
  while (window != nullptr && !gdk_window_has_native(window))
    window = gdk_window_get_parent(window);
  if (window == nullptr || !GDK_IS_X11_WINDOW(window)) return std::nullopt;
  return GDK_WINDOW_XID(window);
}

}  // namespace orvane
