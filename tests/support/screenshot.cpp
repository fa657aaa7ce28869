#include "tests/support/screenshot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace orvane::testing {

// A window that vanished or lies partly off screen gives an invalid Screenshot, not an exit.
Screenshot TakeScreenshot(const std::string& display, unsigned long window) {
  Screenshot shot;
  Display* dpy = XOpenDisplay(display.c_str());
  if (dpy == nullptr) return shot;
  Window target = window != 0 ? window : DefaultRootWindow(dpy);
  // Xlib's own handler would end the whole test program on an X error.
  static bool failed;
  failed = false;
  XErrorHandler previous =
      XSetErrorHandler([](Display*, XErrorEvent*) { return failed = true, 0; });
  XWindowAttributes attributes;
  XImage* image = nullptr;
  if (XGetWindowAttributes(dpy, target, &attributes) && attributes.map_state == IsViewable)
    image = XGetImage(dpy, target, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  XSync(dpy, False);
  XSetErrorHandler(previous);
  if (image != nullptr && !failed) {
    shot = {image->width, image->height, {}};
    for (int y = 0; y < shot.height; ++y) {
      for (int x = 0; x < shot.width; ++x) {
        const unsigned long p = XGetPixel(image, x, y);
        shot.pixels.push_back({std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)});
      }
    }
  }
  if (image != nullptr) XDestroyImage(image);
  XCloseDisplay(dpy);
  return shot;
}

}  // namespace orvane::testing
