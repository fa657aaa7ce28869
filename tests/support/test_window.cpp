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

void TestWindow::Resize(int width, int height) {
  if (window_ == 0) return;
  XResizeWindow(display_, window_, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XSync(display_, False);
}

void TestWindow::Destroy() {
  if (window_ == 0) return;
  XDestroyWindow(display_, window_);
  XSync(display_, False);
  window_ = 0;
}

unsigned TopLevelWindows(const std::string& name) {
  Display* display = XOpenDisplay(name.c_str());
  if (display == nullptr) return 0;
  Window root, parent, *children = nullptr;
  unsigned count = 0;
  XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
  if (children != nullptr) XFree(children);
  XCloseDisplay(display);
  return count;
}

}  // namespace orvane::testing
