#include "host/dialog/background.h"

#include <cmath>

namespace orvane {

RowColour BackgroundRowColour(int y, int height) {
  if (height <= 0) return RowColour{0, 0, 30};
  // 3.142 rather than pi, as the design has it.
  const double v = std::round(std::fabs(std::sin(y / (height / 3.142))) * 220.0);
  const auto level = static_cast<std::uint8_t>(v);
  return RowColour{level, level, static_cast<std::uint8_t>(v + 30.0)};
}

std::vector<RowColour> BackgroundRows(int height) {
  std::vector<RowColour> rows;
  if (height < 0) return rows;
  rows.reserve(static_cast<size_t>(height) + 1);
  for (int y = 0; y <= height; ++y) rows.push_back(BackgroundRowColour(y, height));
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
