#pragma once

#include <optional>
#include <string_view>

#include "host/controls/twips.h"
#include "host/dialog/dialog_controls.h"
#include "platform/rect.h"

// Where the settings dialog's controls (dialog_controls.h) are in pixels: their rectangles, the
// dialog's place on the screen and what a mouse press at a point lands on.
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

}  // namespace orvane
