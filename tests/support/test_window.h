#pragma once

#include <string>

struct _XDisplay;

namespace orvane::testing {

// A window the test makes on an X display, on a connection of its own, as a screen-saver
// daemon or a settings program would: mapped and on the server when the constructor returns;
// destroyed with the object.
class TestWindow {
 public:
  // A child of parent (0: the root window) at x, y with the size given, filled with the
  // background colour (0xRRGGBB); override-redirect if asked, like a daemon's saver window.
  TestWindow(const std::string& display, int x, int y, int width, int height,
             unsigned long background, unsigned long parent = 0, bool overrideRedirect = false);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  unsigned long id() const { return window_; }
  bool ok() const { return window_ != 0; }

 private:
  _XDisplay* display_ = nullptr;
  unsigned long window_ = 0;
};

}  // namespace orvane::testing
