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

std::vector<RowColour> BackgroundRows(int height) {
  std::vector<RowColour> rows;
  for (int y = 0; y <= height; ++y) {
    // 3.142 rather than pi, as the design has it; a form without height has one dark row.
    const double v =
        height > 0 ? std::round(std::fabs(std::sin(y / (height / 3.142))) * 220.0) : 0.0;
    const auto level = static_cast<std::uint8_t>(v);
    rows.push_back(RowColour{level, level, static_cast<std::uint8_t>(v + 30.0)});
  }
  return rows;
}

std::vector<DialogPoint> TilePositions(int panelWidth, int panelHeight, int tileWidth,
                                       int tileHeight) {
  std::vector<DialogPoint> positions;
  if (tileWidth <= 0 || tileHeight <= 0) return positions;
  int x = 0, y = 0;
  while (true) {
    positions.push_back({x, y});
    if (y <= panelHeight) {
      y += tileHeight;
    } else if (x > panelWidth) {
      break;
    } else {
      x += tileWidth;
      y = 0;
    }
  }
  return positions;
}

}  // namespace orvane
