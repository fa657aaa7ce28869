#pragma once

#include <cmath>

namespace orvane {

// Twips (1/1440 inch) and the screen's twips-per-pixel factors; 15 at 96 dots per inch.
struct TwipsScale {
  double X = 15.0;
  double Y = 15.0;

  int ToPixelsX(double twips) const { return static_cast<int>(std::lround(twips / X)); }
  int ToPixelsY(double twips) const { return static_cast<int>(std::lround(twips / Y)); }
};

// The state pictures are counted at this scale whatever the screen's density.
inline constexpr double kPictureTwipsPerPixel = 15.0;

}  // namespace orvane
