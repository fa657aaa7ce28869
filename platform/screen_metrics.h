#pragma once

namespace orvane {

// The screen's size and its twips-per-pixel factors (Screen.TwipsPerPixelX/Y): 1440 divided
// by the dots per inch, so 15 at 96 dpi and 12 at 120.
class ScreenMetrics {
 public:
  virtual ~ScreenMetrics() = default;
  virtual float TwipsPerPixelX() = 0;
  virtual float TwipsPerPixelY() = 0;
  // The screen's size in pixels.
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;
};

}  // namespace orvane
