#include <X11/Xlib.h>

#include "platform/linux/x11_platform.h"
#include "platform/screen_dpi.h"

namespace orvane {
namespace {

// Xft.dpi is what the desktop's fonts follow; without it the server's idea of the screen's
// size in millimetres gives the dots per inch.
class X11ScreenMetrics final : public ScreenMetrics {
 public:
  explicit X11ScreenMetrics(Display* display) : display_(display) {}

  float TwipsPerPixelX() override {
    std::optional<double> dpi = XftDpi();
    if (!dpi)
      dpi = DpiFromScreenSize(DisplayWidth(display_, Screen()), DisplayWidthMM(display_, Screen()));
    return TwipsPerPixelFromDpi(dpi);
  }
  float TwipsPerPixelY() override {
    std::optional<double> dpi = XftDpi();
    if (!dpi)
      dpi =
          DpiFromScreenSize(DisplayHeight(display_, Screen()), DisplayHeightMM(display_, Screen()));
    return TwipsPerPixelFromDpi(dpi);
  }
  int ScreenWidth() override { return DisplayWidth(display_, Screen()); }
  int ScreenHeight() override { return DisplayHeight(display_, Screen()); }

 private:
  int Screen() const { return DefaultScreen(display_); }
  std::optional<double> XftDpi() const {
    const char* resources = XResourceManagerString(display_);
    if (resources == nullptr) return std::nullopt;
    return XftDpiFromResources(resources);
  }

  Display* display_;
};

}  // namespace

std::unique_ptr<ScreenMetrics> MakeX11ScreenMetrics(Display* display) {
  return std::make_unique<X11ScreenMetrics>(display);
}

}  // namespace orvane
