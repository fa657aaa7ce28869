#pragma once

#include <cstdint>
#include <optional>

#include "platform/rect.h"

// The preview form's arithmetic: the caller's window in pixels, the form's size in twips, and
// back to pixels for the window, its picture control and the part of the picture that shows.
namespace orvane {

// value rounded to the nearest whole number, halves to the even one; nullopt when the result
// does not fit a 16-bit signed integer (or value is not a number).
std::optional<std::int16_t> RoundToInt16(double value);

// pixels times the screen's twips per pixel, as a 16-bit twips value; 0 when it does not fit
// (above 32767 twips, which is 2184 pixels at 15 twips per pixel).
std::int16_t TwipsFromPixels(float twipsPerPixel, std::int32_t pixels);

struct PreviewLayout {
  // The form's size in twips, as the form keeps it.
  std::int16_t WidthTwips = 0;
  std::int16_t HeightTwips = 0;
  // The form's window in whole pixels; 0 hides it (no window has a size of 0).
  int FormWidth = 0;
  int FormHeight = 0;
  // Img_Prev's size in pixels, the form's twips divided by twips per pixel.
  float ImageWidth = 0;
  float ImageHeight = 0;
  // The part of the picture that shows from the top-left corner: the picture cut off at the
  // control's and the form's right and bottom edges, never scaled.
  int ShownWidth = 0;
  int ShownHeight = 0;
  // A form of no size stays hidden (the X server and Windows refuse a window of size 0);
  // Img_Prev shows only where some of the picture shows.
  bool FormShown() const { return FormWidth > 0 && FormHeight > 0; }
  bool PictureShown() const { return ShownWidth > 0 && ShownHeight > 0; }
  bool operator==(const PreviewLayout&) const = default;
};

// The layout that fills the caller's window (host, in screen pixels) with the form at the
// screen's twips-per-pixel factors, for a picture of pictureWidth x pictureHeight pixels.
PreviewLayout LayOutPreview(const Rect& host, float twipsPerPixelX, float twipsPerPixelY,
                            int pictureWidth, int pictureHeight);

}  // namespace orvane
