#include "tests/support/test_window.h"

#include <X11/Xlib.h>

namespace orvane::testing {

TestWindow::TestWindow(const std::string& display, int x, int y, int width, int height,
                       unsigned long background, unsigned long parent, bool overrideRedirect) {
  display_ = XOpenDisplay(display.c_str());
  if (display_ == nullptr) return;
  XSetWindowAttributes attributes{};
  attributes.background_pixel = background;  // a 24-bit TrueColor screen takes RGB as it is
  attributes.override_redirect = overrideRedirect ? True : False;
  window_ =
      XCreateWindow(display_, parent != 0 ? parent : DefaultRootWindow(display_), x, y,
                    static_cast<unsigned>(width), static_cast<unsigned>(height), 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect, &attributes);
  XMapWindow(display_, window_);
  XSync(display_, False);
}

TestWindow::~TestWindow() {
  if (display_ != nullptr) XCloseDisplay(display_);  // takes the window with it
}

}  // namespace orvane::testing
