#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "host/controls/twips.h"
#include "host/dialog/dialog_controls.h"
#include "platform/rect.h"

// The settings dialog in pixels: control rectangles, the dialog's place, what a press lands on,
// and its two backgrounds.
namespace orvane {

// A control's rectangle in pixels, relative to its container: position and size each
// converted and rounded on their own, as the windowing code places them.
Rect ToPixels(const DialogControl& control, const TwipsScale& scale);

struct DialogPoint {
  int X = 0, Y = 0;
  bool operator==(const DialogPoint&) const = default;
};

// Where the dialog goes: centred across the screen and a third of the way down. The
// differences are rounded to whole twips (halves to even) and the quotients truncated, then
// turned back into pixels.
DialogPoint DialogPlacement(int screenWidth, int screenHeight, int dialogWidth, int dialogHeight,
                            const TwipsScale& scale);

// What a mouse press at a point of the form (pixels from the inside's top-left corner) is
// on: a choice's mark or label (the music kind it selects) or the web address label.
struct DialogTarget {
  enum class Kind { Choice, Link } What;
  int Choice = 0;  // with Kind::Choice: 0 none, 1 audio CD, 2 music file
  bool operator==(const DialogTarget&) const = default;
};
std::optional<DialogTarget> HitTest(int x, int y, const TwipsScale& scale);

struct RowColour {
  std::uint8_t Red = 0, Green = 0, Blue = 0;
  bool operator==(const RowColour&) const = default;
};

// The colours of rows 0 to height (the form paints one row more than it shows) of a form whose
// inside is height rows tall: v = |sin(y / (height / 3.142))| x 220 rounded, giving red v, green
// v, blue v + 30; dark blue-black at the top and bottom edges, light grey-blue in the middle.
std::vector<RowColour> BackgroundRows(int height);

// Where copies of a tile go to cover a panel, column by column from the top-left, each until a
// copy has started beyond the panel, so the last may lie wholly outside; none for an empty tile.
std::vector<DialogPoint> TilePositions(int panelWidth, int panelHeight, int tileWidth,
                                       int tileHeight);

}  // namespace orvane
