#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <vector>

#include "common/x11_property.h"
#include "platform/linux/x11_error_trap.h"
#include "platform/linux/x11_platform.h"

namespace orvane {
namespace {

class X11WindowGeometry final : public WindowGeometry {
 public:
  explicit X11WindowGeometry(Display* display)
      : display_(display), frameExtents_(XInternAtom(display, "_NET_FRAME_EXTENTS", False)) {}

  std::optional<Rect> GetWindowRect(WindowHandle window) override {
    if (window == 0) return std::nullopt;
    X11ErrorTrap trap(display_);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display_, window, &attributes) || trap.Failed()) {
      return std::nullopt;
    }
    int x = 0, y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(display_, window, attributes.root, 0, 0, &x, &y, &child) ||
        trap.Failed()) {
      return std::nullopt;
    }
    // Like Windows' window rectangle: the border, and a window manager's frame around a
    // top-level window, belong to it.
    const int border = attributes.border_width;
    long left = 0, right = 0, top = 0, bottom = 0;
    FrameExtents(window, left, right, top, bottom);
    return Rect::FromEdges(std::int64_t{x} - border - left, std::int64_t{y} - border - top,
                           std::int64_t{x} + attributes.width + border + right,
                           std::int64_t{y} + attributes.height + border + bottom);
  }

  bool SetParent(WindowHandle child, WindowHandle parent) override {
    if (child == 0) return false;
    X11ErrorTrap trap(display_);
    Window target = parent;
    if (target == 0) {
      XWindowAttributes attributes{};
      if (!XGetWindowAttributes(display_, child, &attributes) || trap.Failed()) return false;
      target = attributes.root;
    }
    XReparentWindow(display_, child, target, 0, 0);
    return !trap.Failed();
  }

 private:
  bool FrameExtents(Window window, long& left, long& right, long& top, long& bottom) {
    const std::vector<unsigned long> values =
        common::ListProperty(display_, window, frameExtents_, XA_CARDINAL);
    // A frame is a few dozen pixels; anything odd (a negative value comes as a huge one) is
    // ignored.
    if (values.size() != 4 || *std::max_element(values.begin(), values.end()) >= 1000) {
      return false;
    }
    left = static_cast<long>(values[0]);
    right = static_cast<long>(values[1]);
    top = static_cast<long>(values[2]);
    bottom = static_cast<long>(values[3]);
    return true;
  }

  Display* display_;
  Atom frameExtents_;
};

class X11Pointer final : public Pointer {
 public:
  explicit X11Pointer(Display* display) : display_(display) {}

  std::optional<Point> GetCursorPos() override {
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    X11ErrorTrap trap(display_);
    if (!XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rootX, &rootY, &x, &y,
                       &mask) ||
        trap.Failed()) {
      return std::nullopt;  // on another screen, or no answer
    }
    return Point{rootX, rootY};
  }

 private:
  Display* display_;
};

}  // namespace

std::unique_ptr<WindowGeometry> MakeX11WindowGeometry(Display* display) {
  return std::make_unique<X11WindowGeometry>(display);
}

std::unique_ptr<Pointer> MakeX11Pointer(Display* display) {
  return std::make_unique<X11Pointer>(display);
}

}  // namespace orvane
