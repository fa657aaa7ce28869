#include "host/preview_layout.h"

#include <algorithm>
#include <cmath>

namespace orvane {
namespace {

// Twips back to whole pixels for a window: the nearest pixel, never below 0.
int PixelsFromTwips(std::int16_t twips, float twipsPerPixel) {
  if (twips <= 0 || !(twipsPerPixel > 0) || !std::isfinite(twipsPerPixel)) return 0;
  return static_cast<int>(std::lround(twips / static_cast<double>(twipsPerPixel)));
}

// The control's size in pixels as a single-precision value.
float ControlPixels(std::int16_t twips, float twipsPerPixel) {
  if (!(twipsPerPixel > 0) || !std::isfinite(twipsPerPixel)) return 0;
  return static_cast<float>(twips) / twipsPerPixel;
}

int WholePixels(float pixels) {
  if (!(pixels > 0)) return 0;
  return static_cast<int>(std::lround(pixels));
}

}  // namespace

std::optional<std::int16_t> RoundToInt16(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double below = std::floor(value);
  const double fraction = value - below;
  double whole = below;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) whole = below + 1;
  if (whole < -32768.0 || whole > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(whole);
}

std::int16_t TwipsFromPixels(float twipsPerPixel, std::int32_t pixels) {
  // A single times a 32-bit integer is worked out in double precision.
  return RoundToInt16(static_cast<double>(twipsPerPixel) * pixels).value_or(0);
}

PreviewLayout LayOutPreview(const Rect& host, float twipsPerPixelX, float twipsPerPixelY,
                            int pictureWidth, int pictureHeight) {
  PreviewLayout layout;
  layout.WidthTwips = TwipsFromPixels(twipsPerPixelX, host.Width);
  layout.HeightTwips = TwipsFromPixels(twipsPerPixelY, host.Height);
  layout.FormWidth = PixelsFromTwips(layout.WidthTwips, twipsPerPixelX);
  layout.FormHeight = PixelsFromTwips(layout.HeightTwips, twipsPerPixelY);
  layout.ImageWidth = ControlPixels(layout.WidthTwips, twipsPerPixelX);
  layout.ImageHeight = ControlPixels(layout.HeightTwips, twipsPerPixelY);
  layout.ShownWidth =
      std::min({std::max(pictureWidth, 0), WholePixels(layout.ImageWidth), layout.FormWidth});
  layout.ShownHeight =
      std::min({std::max(pictureHeight, 0), WholePixels(layout.ImageHeight), layout.FormHeight});
  return layout;
}

}  // namespace orvane
