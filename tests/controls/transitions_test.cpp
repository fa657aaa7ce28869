#include <gtest/gtest.h>

#include <string>

#include "host/controls/Command.h"
#include "tests/controls/fakes.h"

namespace orvane {
namespace {

using testing::Rig, testing::kContainerWindow, testing::kControlWindow, testing::kOtherWindow;

constexpr bool W = true, G = false;  // white or grey on top of the last paint, when there is one

// From a button as the dialog sets it up: the events, the end state, the last event's paints
// and their gradient, and the clicks.
struct Row {
  const char* events;
  int state;
  const char* paints;  // N Normal, H HighLight, S Selected, X HighLightSelect, P Pressed, D Disable
  bool whiteOnTop;
  int clicks;
};

// One event a letter. The handlers: m move, l/L left down/up, r/R right down/up, U middle up,
// f got focus, o lost focus, d disable, e enable; hover ticks over c the control, k the
// container, x another window, n nowhere. From the shell: p/q left/right press, 2 the second
// press of a double click, b a back button's press; P/Q left/right release on the control, Y/Z
// off it, B the back button's; focus news F onto the control, T to another control of the
// window, A to another top-level window (the window losing the desktop's focus).
// clang-format off
void Apply(Rig& r, char event) {
  Command& c = r.control;
  const auto at = [&](std::optional<WindowId> window) { r.platform.under = window; };
  switch (event) {
    case 'm': return c.OnMouseMove();         case 'l': return c.OnMouseDown(1);
    case 'L': return c.OnMouseUp(1);          case 'r': return c.OnMouseDown(2);
    case 'R': return c.OnMouseUp(2);          case 'U': return c.OnMouseUp(4);
    case 'f': return c.OnGotFocus();          case 'o': return c.OnLostFocus();
    case 'd': return c.SetEnabled(false);     case 'e': return c.SetEnabled(true);
    case 'c': at(kControlWindow); return c.OnHoverTick();
    case 'k': at(kContainerWindow); return c.OnHoverTick();
    case 'x': at(kOtherWindow); return c.OnHoverTick();
    case 'n': at(std::nullopt); return c.OnHoverTick();
    case 'p': return c.PointerPressed(1);     case 'q': return c.PointerPressed(2);
    case '2': return c.PointerPressed(1, true);  case 'b': return c.PointerPressed(0);
    case 'P': at(kControlWindow); return c.PointerReleased(1);
    case 'Q': at(kControlWindow); return c.PointerReleased(2);
    case 'Y': at(kOtherWindow); return c.PointerReleased(1);
    case 'Z': at(kOtherWindow); return c.PointerReleased(2);
    case 'B': at(kControlWindow); return c.PointerReleased(0);
    case 'F': return c.FocusMoved(true);      case 'T': return c.FocusMoved(false);
    case 'A': return c.FocusMoved(false, false);
    default: FAIL() << "no event " << event;
  }
}

const Row kTable[] = {
    // mflxm: a press dragged off
    {"m", 2, "H", G, 0},    {"fm", 4, "X", W, 0},   {"mflxm", 3, "", W, 0}, {"l", 1, "P", W, 0},
    {"ml", 2, "P", G, 0},   {"fl", 3, "P", W, 0},   {"fml", 4, "P", W, 0},  {"mfl", 4, "P", G, 0},
    {"mr", 2, "", W, 0},    {"mf", 4, "P", G, 0},   {"f", 3, "S", W, 0},    {"mff", 3, "S", W, 0},
    {"mL", 2, "N", G, 1},   {"fmL", 4, "X", W, 1},  {"mfL", 4, "X", G, 1},  {"L", 1, "", W, 1},
    {"fL", 3, "", W, 0},    {"mflxL", 3, "", W, 0},  {"R", 1, "", W, 1},     {"mR", 2, "", W, 1},
    {"fmU", 4, "", W, 1},   {"fR", 3, "", W, 0},    {"mo", 1, "N", W, 0},   {"fo", 1, "N", W, 0},
    {"mfo", 1, "N", W, 0},  {"o", 1, "", W, 0},
    // hover ticks: anything but the control's own window is away
    {"mk", 1, "N", W, 0},   {"mx", 1, "N", W, 0},   {"mn", 1, "N", W, 0},   {"fmx", 3, "S", W, 0},
    {"mfk", 3, "S", W, 0},  {"mc", 2, "", W, 0},    {"fmc", 4, "", W, 0},   {"x", 1, "", W, 0},
    {"fx", 3, "", W, 0},
    // disabled: the Disable look, everything ignored; enabled again, the focus caught up
    {"mfdl", 4, "", W, 0},  {"mdL", 2, "", W, 0},   {"mfdx", 4, "", W, 0},  {"dm", 1, "", W, 0},
    {"mfdo", 4, "", W, 0},  {"dp", 1, "", W, 0},    {"dfe", 3, "NS", W, 0},  {"fdoe", 1, "N", W, 0},
    {"mfd", 4, "D", G, 0},  {"mde", 2, "N", G, 0},
    // from the shell: a left press asks for the focus, the second press of a double click does
    // nothing, and a release off the control is first seen as the hover tick sees it
    {"m2", 2, "", W, 0},    {"mq", 2, "", W, 0},    {"mp", 4, "PP", G, 0},  {"mpY", 3, "S", W, 0},
    {"mpYmZ", 3, "S", W, 0},  {"mpP", 4, "X", G, 1},  {"mQ", 2, "", W, 1},    {"mb", 2, "", W, 0},
    {"mB", 2, "", W, 0},
    // repeated focus news, and the window losing the desktop's focus, change nothing
    {"F", 3, "S", W, 0},    {"FF", 3, "", W, 0},    {"mFA", 4, "", G, 0},   {"FAF", 3, "", W, 0},
    {"FT", 1, "N", W, 0},   {"T", 1, "", W, 0},
};
// clang-format on

TEST(CommandTransitions, EveryRowOfTheTable) {
  for (const Row& row : kTable) {
    SCOPED_TRACE(row.events);
    Rig rig;
    rig.SetUp();
    for (const char* e = row.events; *e != '\0'; ++e) {
      if (e[1] == '\0') rig.paints.clear();
      Apply(rig, *e);
    }
    std::string paints;
    for (const Look look : rig.paints) paints += "NHSXPD"[static_cast<int>(look)];
    EXPECT_EQ(rig.control.Fields().State, row.state);
    EXPECT_EQ(rig.clicks, row.clicks);
    EXPECT_EQ(paints, row.paints);
    const TriVertex top = rig.control.Face().Vertices[0];  // white: blue FF00
    EXPECT_TRUE(paints.empty() || (top.Blue == 0xFF00) == row.whiteOnTop);
  }
}

}  // namespace
}  // namespace orvane
