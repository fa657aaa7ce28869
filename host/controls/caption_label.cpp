#include "host/controls/caption_label.h"

namespace orvane {

CaptionPaint CaptionPaintOf(const CaptionLabel& label, const TwipsScale& scale) {
  CaptionPaint paint;
  const int left = scale.ToPixelsX(label.Left);
  const int top = scale.ToPixelsY(label.Top);
  paint.Box = {left, top, scale.ToPixelsX(label.Left + label.Width) - left,
               scale.ToPixelsY(label.Top + label.Height) - top};
  paint.Drawn = !label.Text.empty() && paint.Box.Width > 0 && paint.Box.Height > 0;
  paint.Greyed = !label.Enabled;
  const std::uint32_t number = label.ForeColour;
  if (!(number & 0x80000000u)) {
    paint.Colour = ((number & 0xFF) << 16) | (number & 0xFF00) | ((number >> 16) & 0xFF);
  }
  return paint;
}

}  // namespace orvane
