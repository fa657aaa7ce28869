// The control's whole transition table, as data: from each starting state, each event
// gives a new state, a paint (or none) with a gradient direction, and a click or none.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "host/controls/Command.h"
#include "tests/controls/fakes.h"

namespace orvane {
namespace {

using testing::kContainerWindow;
using testing::kControlWindow;
using testing::kOtherWindow;
using testing::Rig;

enum class Event {
  Move,
  LeftDown,
  LeftUp,
  RightDown,
  RightUp,
  MiddleUp,
  Focus,
  LostFocus,
  TickOverControl,
  TickOverContainer,
  TickOverOther,
  TickNowhere,
};

void Apply(Rig& rig, Event e) {
  Command& c = rig.control;
  switch (e) {
    case Event::Move:
      c.OnMouseMove();
      break;
    case Event::LeftDown:
      c.OnMouseDown(kLeftButton);
      break;
    case Event::LeftUp:
      c.OnMouseUp(kLeftButton);
      break;
    case Event::RightDown:
      c.OnMouseDown(kRightButton);
      break;
    case Event::RightUp:
      c.OnMouseUp(kRightButton);
      break;
    case Event::MiddleUp:
      c.OnMouseUp(kMiddleButton);
      break;
    case Event::Focus:
      c.OnGotFocus();
      break;
    case Event::LostFocus:
      c.OnLostFocus();
      break;
    case Event::TickOverControl:
      rig.platform.under = kControlWindow;
      c.OnHoverTick();
      break;
    case Event::TickOverContainer:
      rig.platform.under = kContainerWindow;
      c.OnHoverTick();
      break;
    case Event::TickOverOther:
      rig.platform.under = kOtherWindow;
      c.OnHoverTick();
      break;
    case Event::TickNowhere:
      rig.platform.under.reset();
      c.OnHoverTick();
      break;
  }
}

// Ways to reach each starting state. Two ways reach state 4, with the two gradient
// directions a state-4 paint can keep.
enum class Start { S0, S1, S2, S3, S3Held, S4White, S4Grey };

const char* Name(Start s) {
  switch (s) {
    case Start::S0:
      return "0";
    case Start::S1:
      return "1";
    case Start::S2:
      return "2";
    case Start::S3:
      return "3";
    case Start::S3Held:
      return "3 held";
    case Start::S4White:
      return "4 white";
    case Start::S4Grey:
      return "4 grey";
  }
  return "?";
}

void Reach(Rig& rig, Start s) {
  rig.control.LoadFromBag(PropertyBag{});
  rig.control.Resize(1215, 375);
  if (s != Start::S0) rig.control.Initialize();
  switch (s) {
    case Start::S0:
    case Start::S1:
      break;
    case Start::S2:
      Apply(rig, Event::Move);
      break;
    case Start::S3:
      Apply(rig, Event::Focus);
      break;
    // A press on the hovered button, then the pointer dragged off it.
    case Start::S3Held:
      for (Event e : {Event::Move, Event::Focus, Event::LeftDown, Event::TickOverOther})
        Apply(rig, e);
      break;
    case Start::S4White:
      Apply(rig, Event::Focus);
      Apply(rig, Event::Move);
      break;
    case Start::S4Grey:
      Apply(rig, Event::Move);
      Apply(rig, Event::Focus);
      break;
  }
  rig.paints.clear();
  rig.clicks = 0;
}

enum class Top { White, Grey };

struct Row {
  Event event;
  Start start;
  std::uint8_t state;
  std::optional<Look> paint;
  Top top;  // of the paint, when there is one
  int clicks;
};

constexpr Top W = Top::White;
constexpr Top G = Top::Grey;
constexpr std::nullopt_t None = std::nullopt;

const Row kTable[] = {
    // pointer moves over the control
    {Event::Move, Start::S1, 2, Look::HighLight, G, 0},
    {Event::Move, Start::S3, 4, Look::HighLightSelect, W, 0},
    {Event::Move, Start::S3Held, 3, None, W, 0},
    {Event::Move, Start::S2, 2, None, W, 0},
    {Event::Move, Start::S4White, 4, None, W, 0},
    {Event::Move, Start::S0, 0, None, W, 0},
    // left button down: Pressed, state kept, direction by state
    {Event::LeftDown, Start::S0, 0, Look::Pressed, W, 0},
    {Event::LeftDown, Start::S1, 1, Look::Pressed, W, 0},
    {Event::LeftDown, Start::S2, 2, Look::Pressed, G, 0},
    {Event::LeftDown, Start::S3, 3, Look::Pressed, W, 0},
    {Event::LeftDown, Start::S4White, 4, Look::Pressed, W, 0},
    {Event::LeftDown, Start::S4Grey, 4, Look::Pressed, G, 0},
    {Event::RightDown, Start::S2, 2, None, W, 0},
    // focus received
    {Event::Focus, Start::S2, 4, Look::Pressed, G, 0},
    {Event::Focus, Start::S0, 3, Look::Selected, W, 0},
    {Event::Focus, Start::S1, 3, Look::Selected, W, 0},
    {Event::Focus, Start::S3, 3, Look::Selected, W, 0},
    {Event::Focus, Start::S4Grey, 3, Look::Selected, W, 0},
    // left button up
    {Event::LeftUp, Start::S2, 2, Look::Normal, G, 1},
    {Event::LeftUp, Start::S4White, 4, Look::HighLightSelect, W, 1},
    {Event::LeftUp, Start::S4Grey, 4, Look::HighLightSelect, G, 1},
    {Event::LeftUp, Start::S0, 0, None, W, 1},
    {Event::LeftUp, Start::S1, 1, None, W, 1},
    {Event::LeftUp, Start::S3, 3, None, W, 0},
    {Event::LeftUp, Start::S3Held, 3, None, W, 0},
    // other buttons up
    {Event::RightUp, Start::S0, 0, None, W, 1},
    {Event::RightUp, Start::S1, 1, None, W, 1},
    {Event::RightUp, Start::S2, 2, None, W, 1},
    {Event::MiddleUp, Start::S4White, 4, None, W, 1},
    {Event::RightUp, Start::S3, 3, None, W, 0},
    // focus lost
    {Event::LostFocus, Start::S0, 1, Look::Normal, W, 0},
    {Event::LostFocus, Start::S2, 1, Look::Normal, W, 0},
    {Event::LostFocus, Start::S3, 1, Look::Normal, W, 0},
    {Event::LostFocus, Start::S4Grey, 1, Look::Normal, W, 0},
    {Event::LostFocus, Start::S1, 1, None, W, 0},
    // hover ticks: anything but the control's own window is away
    {Event::TickOverContainer, Start::S2, 1, Look::Normal, W, 0},
    {Event::TickOverOther, Start::S2, 1, Look::Normal, W, 0},
    {Event::TickNowhere, Start::S2, 1, Look::Normal, W, 0},
    {Event::TickOverOther, Start::S4White, 3, Look::Selected, W, 0},
    {Event::TickOverContainer, Start::S4Grey, 3, Look::Selected, W, 0},
    {Event::TickOverControl, Start::S2, 2, None, W, 0},
    {Event::TickOverControl, Start::S4White, 4, None, W, 0},
    {Event::TickOverOther, Start::S1, 1, None, W, 0},
    {Event::TickOverOther, Start::S3, 3, None, W, 0},
};

bool WhiteOnTop(const Command& control) {
  const Surface& s = control.Face();
  return (s.Pixel(40, 4) & 0xFF) > (s.Pixel(40, 20) & 0xFF);
}

TEST(CommandTransitions, EveryRowOfTheTable) {
  for (const Row& row : kTable) {
    Rig rig;
    Reach(rig, row.start);
    Apply(rig, row.event);
    SCOPED_TRACE(::testing::Message()
                 << "event " << static_cast<int>(row.event) << " from state " << Name(row.start));
    EXPECT_EQ(rig.control.Fields().State, row.state);
    EXPECT_EQ(rig.clicks, row.clicks);
    if (row.paint) {
      ASSERT_EQ(rig.paints, std::vector<Look>{*row.paint});
      EXPECT_EQ(WhiteOnTop(rig.control), row.top == W);
    } else {
      EXPECT_TRUE(rig.paints.empty()) << LookName(rig.paints.front());
    }
  }
}

TEST(CommandTransitions, LeftButtonDownIsSetByALeftPressAndClearedByALeftRelease) {
  Rig rig;
  Reach(rig, Start::S2);
  Apply(rig, Event::RightDown);
  EXPECT_EQ(rig.control.Fields().LeftButtonDown, kFalse);
  Apply(rig, Event::LeftDown);
  EXPECT_EQ(rig.control.Fields().LeftButtonDown, kTrue);
  Apply(rig, Event::RightUp);
  EXPECT_EQ(rig.control.Fields().LeftButtonDown, kTrue);
  Apply(rig, Event::LeftUp);
  EXPECT_EQ(rig.control.Fields().LeftButtonDown, kFalse);
}

TEST(CommandTransitions, ADisabledControlIgnoresEverything) {
  const Start starts[] = {Start::S0, Start::S1,     Start::S2,
                          Start::S3, Start::S3Held, Start::S4White};
  for (const Start start : starts) {
    for (int e = 0; e <= static_cast<int>(Event::TickNowhere); ++e) {
      Rig rig;
      Reach(rig, start);
      const CommandFields before = rig.control.Fields();
      rig.control.SetEnabled(false);
      rig.paints.clear();
      Apply(rig, static_cast<Event>(e));
      EXPECT_EQ(rig.control.Fields().State, before.State) << Name(start) << " event " << e;
      EXPECT_EQ(rig.control.Fields().LeftButtonDown, before.LeftButtonDown);
      EXPECT_TRUE(rig.paints.empty()) << Name(start) << " event " << e;
      EXPECT_EQ(rig.clicks, 0) << Name(start) << " event " << e;
    }
  }
}

// Whole gestures, step by step.
TEST(CommandTransitions, Gestures) {
  {  // A typical click on an unfocused button.
    Rig rig;
    Reach(rig, Start::S1);
    for (Event e :
         {Event::Move, Event::Focus, Event::LeftDown, Event::LeftUp, Event::TickOverOther}) {
      Apply(rig, e);
    }
    EXPECT_EQ(rig.paints, (std::vector<Look>{Look::HighLight, Look::Pressed, Look::Pressed,
                                             Look::HighLightSelect, Look::Selected}));
    EXPECT_EQ(rig.clicks, 1);
    EXPECT_EQ(rig.control.Fields().State, CommandState::Selected);
  }
  {  // Press, drag off and back, release: still Selected, no click.
    Rig rig;
    Reach(rig, Start::S3Held);
    Apply(rig, Event::Move);
    Apply(rig, Event::TickOverControl);
    Apply(rig, Event::LeftUp);
    EXPECT_EQ(rig.clicks, 0);
    EXPECT_EQ(rig.control.Fields().State, CommandState::Selected);
  }
  {  // Tab onto a button the pointer never touched, then click it: no click.
    Rig rig;
    Reach(rig, Start::S1);
    Apply(rig, Event::Focus);
    Apply(rig, Event::LeftDown);
    Apply(rig, Event::LeftUp);
    EXPECT_EQ(rig.clicks, 0);
  }
  {  // A double click: the second press is never handled, both releases click.
    Rig rig;
    Reach(rig, Start::S4White);
    Apply(rig, Event::LeftDown);
    Apply(rig, Event::LeftUp);
    Apply(rig, Event::LeftUp);
    EXPECT_EQ(rig.clicks, 2);
    EXPECT_EQ(rig.paints,
              (std::vector<Look>{Look::Pressed, Look::HighLightSelect, Look::HighLightSelect}));
  }
  {  // Before Initialize: movement does nothing, the focus gives Selected, then movement
     // gives HighLightSelect, and without the timer leaving is never noticed.
    Rig rig;
    Reach(rig, Start::S0);
    EXPECT_FALSE(rig.platform.timer);
    Apply(rig, Event::Move);
    EXPECT_TRUE(rig.paints.empty());
    Apply(rig, Event::Focus);
    Apply(rig, Event::Move);
    EXPECT_EQ(rig.control.Fields().State, CommandState::HighLightSelect);
  }
}

TEST(CommandTransitions, ClickHandlersRunInsideTheReleaseAndMayFail) {
  Rig rig;
  Reach(rig, Start::S2);
  std::vector<std::string> order;
  rig.control.SetPaintObserver([&](Look look) { order.push_back(LookName(look)); });
  rig.control.ConnectClick([&] {
    order.push_back("click");
    throw std::runtime_error("handler failed");
  });
  rig.control.ConnectClick([&] { order.push_back("second"); });
  Apply(rig, Event::LeftUp);
  EXPECT_EQ(order, (std::vector<std::string>{"Normal", "click", "second"}));
  EXPECT_EQ(rig.clicks, 1);
}

}  // namespace
}  // namespace orvane
