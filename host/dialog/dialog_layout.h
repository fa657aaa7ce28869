#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "host/controls/twips.h"

// Where every control of the settings dialog sits, in twips, and what follows from it in
// pixels: the controls' rectangles, the dialog's place on the screen and what a mouse press
// at a point lands on.
namespace orvane {

// The container a control is placed in: the form itself or the music panel Pic_C.
enum class DialogContainer { Form, Panel };

enum class DialogControlKind { Panel, Shape, Label, Image, Combo, Command, Picture };

struct DialogControl {
  std::string_view Name;
  int Index;  // -1 for a control that is not one of an array
  DialogControlKind Kind;
  DialogContainer Container;
  double Left, Top, Width, Height;  // twips, relative to the container
};

// The inside of the form, in twips.
inline constexpr double kDialogInnerWidth = 7380.0;
inline constexpr double kDialogInnerHeight = 3690.0;

// Every control, in the order of the design.
std::span<const DialogControl> DialogControls();
// The control with that name and index; the dialog's own names only (a typo is a bug, so
// it throws std::out_of_range).
const DialogControl& DialogControlNamed(std::string_view name, int index = -1);

// A rectangle in pixels, right and bottom exclusive.
struct DialogRect {
  int X = 0, Y = 0, Width = 0, Height = 0;
  bool Contains(int x, int y) const { return x >= X && y >= Y && x < X + Width && y < Y + Height; }
  bool operator==(const DialogRect&) const = default;
};

// A control's rectangle in pixels, relative to its container: position and size each
// converted and rounded on their own, as the windowing code places them.
DialogRect ToPixels(const DialogControl& control, const TwipsScale& scale);

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
