// The button's transitions as one table: from a button as the dialog sets it up, each sequence
// of events ends in a state, the last event's paints with their gradient, and a click count.
#include <gtest/gtest.h>

#include <vector>

#include "host/controls/Command.h"
#include "tests/controls/fakes.h"

namespace orvane {
namespace {

using testing::Rig;
using Step = void (*)(Rig&);

// What a shell forwards, with the pointer on the control or off it.
void Press(Rig& r, int button, bool second = false) {
  r.platform.under = testing::kControlWindow;
  r.control.PointerPressed(std::int16_t(button), second);
}
void Release(Rig& r, int button, bool on = true) {
  r.platform.under = on ? testing::kControlWindow : testing::kOtherWindow;
  r.control.PointerReleased(std::int16_t(button));
}
void Tick(Rig& r, std::optional<WindowId> under) {  // a hover tick with the pointer over `under`
  r.platform.under = under;
  r.control.OnHoverTick();
}

constexpr Step Move = [](Rig& r) { r.control.OnMouseMove(); };
constexpr Step LeftDown = [](Rig& r) { r.control.OnMouseDown(1); };
constexpr Step LeftUp = [](Rig& r) { r.control.OnMouseUp(1); };
constexpr Step RightDown = [](Rig& r) { r.control.OnMouseDown(2); };
constexpr Step RightUp = [](Rig& r) { r.control.OnMouseUp(2); };
constexpr Step MiddleUp = [](Rig& r) { r.control.OnMouseUp(4); };
constexpr Step Focus = [](Rig& r) { r.control.OnGotFocus(); };
constexpr Step LostFocus = [](Rig& r) { r.control.OnLostFocus(); };
constexpr Step Disable = [](Rig& r) { r.control.SetEnabled(false); };
constexpr Step Enable = [](Rig& r) { r.control.SetEnabled(true); };
constexpr Step OverControl = [](Rig& r) { Tick(r, testing::kControlWindow); };
constexpr Step OverContainer = [](Rig& r) { Tick(r, testing::kContainerWindow); };
constexpr Step OverOther = [](Rig& r) { Tick(r, testing::kOtherWindow); };
constexpr Step Nowhere = [](Rig& r) { Tick(r, std::nullopt); };
constexpr Step PMove = [](Rig& r) { r.control.PointerMoved(); };
constexpr Step PLeft = [](Rig& r) { Press(r, 1); };
constexpr Step PRight = [](Rig& r) { Press(r, 2); };
constexpr Step PSecond = [](Rig& r) { Press(r, 1, true); };
constexpr Step POther = [](Rig& r) { Press(r, 0); };  // a back or forward button
constexpr Step PLeftUpOn = [](Rig& r) { Release(r, 1); };
constexpr Step PLeftUpOff = [](Rig& r) { Release(r, 1, false); };
constexpr Step PRightUpOn = [](Rig& r) { Release(r, 2); };
constexpr Step PRightUpOff = [](Rig& r) { Release(r, 2, false); };
constexpr Step POtherUp = [](Rig& r) { Release(r, 0); };
// The focus as the windowing system tells it: onto the control, to another control of the same
// window, or to another top-level window (the window losing the desktop's focus).
constexpr Step PFocus = [](Rig& r) { r.control.FocusMoved(true); };
constexpr Step PToOther = [](Rig& r) { r.control.FocusMoved(false); };
constexpr Step PDeactivated = [](Rig& r) { r.control.FocusMoved(false, false); };

constexpr bool W = true, G = false;  // white or grey on top of the last paint, when there is one
// The looks: Normal, HighLight, Selected, HighLightSelect, Pressed, Disable.
constexpr Look N = Look::Normal, H = Look::HighLight, S = Look::Selected,
               HS = Look::HighLightSelect, P = Look::Pressed, D = Look::Disable;

struct Row {
  std::vector<Step> events;
  int state;
  std::vector<Look> paints;
  bool whiteOnTop;
  int clicks;
};

// clang-format off
const Row kTable[] = {
    {{Move}, 2, {H}, G, 0},                         {{Focus, Move}, 4, {HS}, W, 0},
    {{Move, Focus, LeftDown, OverOther, Move}, 3, {}, W, 0},  // held and dragged off
    {{LeftDown}, 1, {P}, W, 0},                     {{Move, LeftDown}, 2, {P}, G, 0},
    {{Focus, LeftDown}, 3, {P}, W, 0},              {{Focus, Move, LeftDown}, 4, {P}, W, 0},
    {{Move, Focus, LeftDown}, 4, {P}, G, 0},        {{Move, RightDown}, 2, {}, W, 0},
    {{Move, Focus}, 4, {P}, G, 0},                  {{Focus}, 3, {S}, W, 0},
    {{Focus, Focus}, 3, {S}, W, 0},                 {{Move, Focus, Focus}, 3, {S}, W, 0},
    {{Move, LeftUp}, 2, {N}, G, 1},                 {{Focus, Move, LeftUp}, 4, {HS}, W, 1},
    {{Move, Focus, LeftUp}, 4, {HS}, G, 1},         {{LeftUp}, 1, {}, W, 1},
    {{Focus, LeftUp}, 3, {}, W, 0},
    {{Move, Focus, LeftDown, OverOther, LeftUp}, 3, {}, W, 0},
    {{RightUp}, 1, {}, W, 1},                       {{Move, RightUp}, 2, {}, W, 1},
    {{Focus, Move, MiddleUp}, 4, {}, W, 1},         {{Focus, RightUp}, 3, {}, W, 0},
    {{Move, LostFocus}, 1, {N}, W, 0},              {{Focus, LostFocus}, 1, {N}, W, 0},
    {{Move, Focus, LostFocus}, 1, {N}, W, 0},       {{LostFocus}, 1, {}, W, 0},
    // hover ticks: anything but the control's own window is away
    {{Move, OverContainer}, 1, {N}, W, 0},          {{Move, OverOther}, 1, {N}, W, 0},
    {{Move, Nowhere}, 1, {N}, W, 0},                {{Focus, Move, OverOther}, 3, {S}, W, 0},
    {{Move, Focus, OverContainer}, 3, {S}, W, 0},   {{Move, OverControl}, 2, {}, W, 0},
    {{Focus, Move, OverControl}, 4, {}, W, 0},      {{OverOther}, 1, {}, W, 0},
    {{Focus, OverOther}, 3, {}, W, 0},
    // disabled: the Disable look, everything ignored; enabled again, the focus caught up
    {{Move, Focus, Disable, LeftDown}, 4, {}, W, 0}, {{Move, Disable, LeftUp}, 2, {}, W, 0},
    {{Move, Focus, Disable, OverOther}, 4, {}, W, 0}, {{Disable, Move}, 1, {}, W, 0},
    {{Move, Focus, Disable, LostFocus}, 4, {}, W, 0}, {{Disable, PLeft}, 1, {}, W, 0},
    {{Disable, Focus, Enable}, 3, {N, S}, W, 0},
    {{Focus, Disable, LostFocus, Enable}, 1, {N}, W, 0},
    {{Move, Focus, Disable}, 4, {D}, G, 0},         {{Move, Disable, Enable}, 2, {N}, G, 0},
    // from the shell: a left press asks for the focus, the second press of a double click does
    // nothing, and a release off the control is first seen as the hover tick sees it
    {{PMove}, 2, {H}, G, 0},                        {{PMove, PSecond}, 2, {}, W, 0},
    {{PMove, PRight}, 2, {}, W, 0},                 {{PMove, PLeft}, 4, {P, P}, G, 0},
    {{PMove, PLeft, PLeftUpOff}, 3, {S}, W, 0},
    {{PMove, PLeft, PLeftUpOff, PMove, PRightUpOff}, 3, {S}, W, 0},
    {{PMove, PLeft, PLeftUpOn}, 4, {HS}, G, 1},
    {{PMove, PRightUpOn}, 2, {}, W, 1},             {{PMove, POther}, 2, {}, W, 0},
    {{PMove, POtherUp}, 2, {}, W, 0},
    // repeated focus news, and the window losing the desktop's focus, change nothing
    {{PFocus}, 3, {S}, W, 0},                       {{PFocus, PFocus}, 3, {}, W, 0},
    {{PMove, PFocus, PDeactivated}, 4, {}, G, 0},   {{PFocus, PDeactivated, PFocus}, 3, {}, W, 0},
    {{PFocus, PToOther}, 1, {N}, W, 0},             {{PToOther}, 1, {}, W, 0},
};
// clang-format on

TEST(CommandTransitions, EveryRowOfTheTable) {
  for (size_t i = 0; i < std::size(kTable); ++i) {
    SCOPED_TRACE(::testing::Message() << "row " << i);
    const Row& row = kTable[i];
    Rig rig;
    rig.SetUp();
    for (size_t e = 0; e < row.events.size(); ++e) {
      if (e + 1 == row.events.size()) rig.paints.clear();
      row.events[e](rig);
    }
    EXPECT_EQ(rig.control.Fields().State, row.state);
    EXPECT_EQ(rig.clicks, row.clicks);
    EXPECT_EQ(rig.paints, row.paints);
    const TriVertex top = rig.control.Face().Vertices[0];  // white: blue FF00
    EXPECT_TRUE(row.paints.empty() || (top.Blue == 0xFF00) == row.whiteOnTop);
  }
}

// At 120 dpi: the window's size in pixels as twips, and a control placed in twips as pixels.
TEST(CommandPointer, PixelsAndTwips) {
  Rig rig;
  rig.platform.scale = {12, 12};
  rig.control.ResizePixels(100, 30);
  EXPECT_EQ(std::vector<double>({rig.control.WidthTwips(), rig.control.HeightTwips()}),
            std::vector<double>({1200, 360}));
  const Rect placed = PlacedPixels({12, 12}, 4740, 3000, 1215, 5);
  EXPECT_EQ(std::vector<int>({placed.X, placed.Y, placed.Width, placed.Height}),
            std::vector<int>({395, 250, 101, 1}));
}

}  // namespace
}  // namespace orvane
