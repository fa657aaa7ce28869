#include "tests/support/screenshot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

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
    shot.width = image->width;
    shot.height = image->height;
    shot.pixels.resize(static_cast<size_t>(shot.width) * shot.height);
    for (int y = 0; y < shot.height; ++y) {
      for (int x = 0; x < shot.width; ++x) {
        const unsigned long p = XGetPixel(image, x, y);
        shot.pixels[static_cast<size_t>(y) * shot.width + x] = {
            static_cast<std::uint8_t>((p >> 16) & 0xFF), static_cast<std::uint8_t>((p >> 8) & 0xFF),
            static_cast<std::uint8_t>(p & 0xFF)};
      }
    }
  }
  if (image != nullptr) XDestroyImage(image);
  XCloseDisplay(dpy);
  return shot;
}

bool Screenshot::SavePpm(const std::string& path) const {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  std::fprintf(out, "P6\n%d %d\n255\n", width, height);
  for (const Rgb& p : pixels) {
    const unsigned char bytes[3] = {p.r, p.g, p.b};
    std::fwrite(bytes, 1, 3, out);
  }
  return std::fclose(out) == 0;
}

bool Near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

}  // namespace orvane::testing
