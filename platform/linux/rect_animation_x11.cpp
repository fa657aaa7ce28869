#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#include "platform/linux/x11_error_trap.h"
#include "platform/linux/x11_platform.h"

namespace orvane {
namespace {

// X11 has no DrawAnimatedRects: four thin override-redirect windows form an outline that
// moves from one rectangle to the other in a few steps. They sit above everything and are
// gone at the end; nothing is drawn into other windows.
class X11RectAnimation final : public RectAnimation {
 public:
  explicit X11RectAnimation(Display* display) : display_(display) {}

  void DrawAnimatedRects(WindowHandle, const Rect& from, const Rect& to) override {
    if (from == to && from.Width == 0 && from.Height == 0) return;
    X11ErrorTrap trap(display_);
    const int screen = DefaultScreen(display_);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.save_under = True;
    attributes.background_pixel = GreyPixel(screen);
    std::array<Window, 4> edges{};
    for (Window& edge : edges) {
      edge = XCreateWindow(display_, RootWindow(display_, screen), 0, 0, 1, 1, 0, CopyFromParent,
                           InputOutput, CopyFromParent,
                           CWOverrideRedirect | CWSaveUnder | CWBackPixel, &attributes);
    }
    const auto start = std::chrono::steady_clock::now();
    for (int step = 1; step <= kSteps; ++step) {
      const double t = static_cast<double>(step) / kSteps;
      Place(edges, Mix(from, to, t), step == 1);
      XFlush(display_);
      // Steps follow the clock, so a slow server shortens the effect rather than stretching it.
      std::this_thread::sleep_until(start + kStepTime * step);
      if (std::chrono::steady_clock::now() - start >= kStepTime * kSteps) break;
    }
    for (Window edge : edges) XDestroyWindow(display_, edge);
    XFlush(display_);
  }

 private:
  static constexpr int kSteps = 8;
  static constexpr std::chrono::milliseconds kStepTime{25};
  static constexpr int kThickness = 2;

  unsigned long GreyPixel(int screen) {
    XColor colour{};
    colour.red = colour.green = colour.blue = 0x8000;
    colour.flags = DoRed | DoGreen | DoBlue;
    if (XAllocColor(display_, DefaultColormap(display_, screen), &colour)) return colour.pixel;
    return BlackPixel(display_, screen);
  }

  static Rect Mix(const Rect& a, const Rect& b, double t) {
    auto mix = [t](std::int32_t p, std::int32_t q) {
      return static_cast<std::int32_t>(p + (static_cast<double>(q) - p) * t);
    };
    return Rect::FromEdges(mix(a.X, b.X), mix(a.Y, b.Y), mix(a.Right(), b.Right()),
                           mix(a.Bottom(), b.Bottom()));
  }

  void Place(const std::array<Window, 4>& edges, const Rect& r, bool map) {
    const int left = std::min(r.X, r.Right()), right = std::max(r.X, r.Right());
    const int top = std::min(r.Y, r.Bottom()), bottom = std::max(r.Y, r.Bottom());
    const unsigned width = static_cast<unsigned>(std::max(right - left, 1));
    const unsigned height = static_cast<unsigned>(std::max(bottom - top, 1));
    const unsigned thick = kThickness;
    XMoveResizeWindow(display_, edges[0], left, top, width, thick);
    XMoveResizeWindow(display_, edges[1], left, bottom - kThickness, width, thick);
    XMoveResizeWindow(display_, edges[2], left, top, thick, height);
    XMoveResizeWindow(display_, edges[3], right - kThickness, top, thick, height);
    if (map) {
      for (Window edge : edges) XMapRaised(display_, edge);
    }
  }

  Display* display_;
};

}  // namespace

std::unique_ptr<RectAnimation> MakeX11RectAnimation(Display* display) {
  return std::make_unique<X11RectAnimation>(display);
}

}  // namespace orvane
