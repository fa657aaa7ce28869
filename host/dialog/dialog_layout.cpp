#include "host/dialog/dialog_layout.h"

#include <cmath>

namespace orvane {
Rect ToPixels(const DialogControl& control, const TwipsScale& scale) {
  return Rect{scale.ToPixelsX(control.Left), scale.ToPixelsY(control.Top),
              scale.ToPixelsX(control.Width), scale.ToPixelsY(control.Height)};
}

DialogPoint DialogPlacement(int screenWidth, int screenHeight, int dialogWidth, int dialogHeight,
                            const TwipsScale& scale) {
  // Whole twips, halves to even (the default rounding mode), then a truncating division.
  const double left = std::trunc(std::nearbyint((screenWidth - dialogWidth) * scale.X) / 2.0);
  const double top = std::trunc(std::nearbyint((screenHeight - dialogHeight) * scale.Y) / 3.0);
  return DialogPoint{scale.ToPixelsX(left), scale.ToPixelsY(top)};
}

std::optional<DialogTarget> HitTest(int x, int y, const TwipsScale& scale) {
  const Rect panel = ToPixels(DialogControlNamed("Pic_C"), scale);
  if (panel.Contains(x, y)) {
    const int px = x - panel.X, py = y - panel.Y;
    for (int choice = 0; choice < 3; ++choice) {
      if (ToPixels(DialogControlNamed("Img_BGM", choice), scale).Contains(px, py) ||
          ToPixels(DialogControlNamed("lbl_BGM", choice), scale).Contains(px, py)) {
        return DialogTarget{DialogTarget::Kind::Choice, choice};
      }
    }
    return std::nullopt;
  }
  if (ToPixels(DialogControlNamed("lbl_URL"), scale).Contains(x, y)) {
    return DialogTarget{DialogTarget::Kind::Link, 0};
  }
  return std::nullopt;
}

}  // namespace orvane
