#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include "platform/linux/x11_platform.h"

namespace orvane {
namespace {

// XFixes hides the cursor per client and does not nest (a show without a hide is an error),
// so the display counter of ShowCursor is kept here and only its crossings are sent.
class X11Cursor final : public Cursor {
 public:
  explicit X11Cursor(Display* display) : display_(display) {
    int eventBase = 0, errorBase = 0, major = 4, minor = 0;
    available_ = XFixesQueryExtension(display_, &eventBase, &errorBase) &&
                 XFixesQueryVersion(display_, &major, &minor) && major >= 4;
  }

  void ShowCursor(bool show) override {
    const bool wasShown = count_ >= 0;
    count_ += show ? 1 : -1;
    const bool shown = count_ >= 0;
    if (!available_ || wasShown == shown) return;
    for (int screen = 0; screen < ScreenCount(display_); ++screen) {
      if (shown) {
        XFixesShowCursor(display_, RootWindow(display_, screen));
      } else {
        XFixesHideCursor(display_, RootWindow(display_, screen));
      }
    }
    XFlush(display_);
  }

 private:
  Display* display_;
  bool available_ = false;
  int count_ = 0;  // Windows starts a process with a mouse at 0: shown
};

}  // namespace

std::unique_ptr<Cursor> MakeX11Cursor(Display* display) {
  return std::make_unique<X11Cursor>(display);
}

}  // namespace orvane
