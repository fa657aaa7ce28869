#pragma once

#include <cstdint>
#include <vector>

#include "host/dialog/dialog_layout.h"

// The two backgrounds of the settings dialog: the form's banded gradient and the music
// panel's tiling.
namespace orvane {

struct RowColour {
  std::uint8_t Red = 0, Green = 0, Blue = 0;
  bool operator==(const RowColour&) const = default;
};

// The colour of row y of a form whose inside is height rows tall: v = |sin(y / (height /
// 3.142))| x 220 rounded, giving red v, green v, blue v + 30; dark blue-black at the top
// and bottom edges, light grey-blue in the middle.
RowColour BackgroundRowColour(int y, int height);
// The colours of rows 0 to height (the form paints one row more than it shows).
std::vector<RowColour> BackgroundRows(int height);

// Where copies of a tile go to cover a panel, all in pixels: column by column from the
// top-left corner, each column from the top down until a copy has started beyond the
// panel's height, the columns until one has started beyond its width. The last row and
// column may lie partly or wholly outside the panel. Empty for a tile without size.
std::vector<DialogPoint> TilePositions(int panelWidth, int panelHeight, int tileWidth,
                                       int tileHeight);

}  // namespace orvane
