// The control's whole transition table, as data: from each starting state, each event
// gives a new state, a paint (or none) with a gradient direction, and a click or none.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "host/controls/Command.h"
#include "host/controls/double_click.h"
#include "tests/controls/fakes.h"

namespace orvane {
namespace {

using testing::Rig;

// clang-format off
enum Event { Move, LeftDown, LeftUp, RightDown, RightUp, MiddleUp, Focus, LostFocus,
             OverControl, OverContainer, OverOther, Nowhere, kEvents };
// clang-format on

void Apply(Rig& rig, Event e) {
  Command& c = rig.control;
  if (e >= OverControl) {  // a hover tick with the pointer over one of the windows, or none
    const std::optional<WindowId> under[] = {testing::kControlWindow, testing::kContainerWindow,
                                             testing::kOtherWindow, std::nullopt};
    rig.platform.under = under[e - OverControl];
    return c.OnHoverTick();
  }
  if (e == Move) return c.OnMouseMove();
  if (e == Focus) return c.OnGotFocus();
  if (e == LostFocus) return c.OnLostFocus();
  const auto button = e <= LeftUp ? kLeftButton : e <= RightUp ? kRightButton : kMiddleButton;
  if (e == LeftDown || e == RightDown) return c.OnMouseDown(button);
  c.OnMouseUp(button);
}

// Ways to reach each starting state: S3Held is a press on the hovered button dragged off it;
// two ways reach state 4, with the two gradient directions a state-4 paint can keep.
enum Start { S0, S1, S2, S3, S3Held, S4White, S4Grey };
const std::vector<Event> kPaths[] = {
    {}, {}, {Move}, {Focus}, {Move, Focus, LeftDown, OverOther}, {Focus, Move}, {Move, Focus}};

void Reach(Rig& rig, Start s) {
  rig.control.LoadFromBag(PropertyBag{});
  rig.control.Resize(1215, 375);
  if (s != S0) rig.control.Initialize();
  for (Event e : kPaths[s]) Apply(rig, e);
  rig.paints.clear();
  rig.clicks = 0;
}

constexpr bool W = true, G = false;  // white or grey on top of the paint, when there is one
constexpr std::nullopt_t None = std::nullopt;

struct Row {
  Event event;
  Start start;
  std::uint8_t state;
  std::optional<Look> paint;
  bool whiteOnTop;
  int clicks;
};

// clang-format off
const Row kTable[] = {
    {Move, S1, 2, Look::HighLight, G, 0},        {Move, S3, 4, Look::HighLightSelect, W, 0},
    {Move, S3Held, 3, None, W, 0},               {Move, S2, 2, None, W, 0},
    {Move, S4White, 4, None, W, 0},              {Move, S0, 0, None, W, 0},
    {LeftDown, S0, 0, Look::Pressed, W, 0},      {LeftDown, S1, 1, Look::Pressed, W, 0},
    {LeftDown, S2, 2, Look::Pressed, G, 0},      {LeftDown, S3, 3, Look::Pressed, W, 0},
    {LeftDown, S4White, 4, Look::Pressed, W, 0}, {LeftDown, S4Grey, 4, Look::Pressed, G, 0},
    {RightDown, S2, 2, None, W, 0},              {Focus, S2, 4, Look::Pressed, G, 0},
    {Focus, S0, 3, Look::Selected, W, 0},        {Focus, S1, 3, Look::Selected, W, 0},
    {Focus, S3, 3, Look::Selected, W, 0},        {Focus, S4Grey, 3, Look::Selected, W, 0},
    {LeftUp, S2, 2, Look::Normal, G, 1},         {LeftUp, S4White, 4, Look::HighLightSelect, W, 1},
    {LeftUp, S4Grey, 4, Look::HighLightSelect, G, 1},
    {LeftUp, S0, 0, None, W, 1},                 {LeftUp, S1, 1, None, W, 1},
    {LeftUp, S3, 3, None, W, 0},                 {LeftUp, S3Held, 3, None, W, 0},
    {RightUp, S0, 0, None, W, 1},                {RightUp, S1, 1, None, W, 1},
    {RightUp, S2, 2, None, W, 1},                {MiddleUp, S4White, 4, None, W, 1},
    {RightUp, S3, 3, None, W, 0},                {LostFocus, S0, 1, Look::Normal, W, 0},
    {LostFocus, S2, 1, Look::Normal, W, 0},      {LostFocus, S3, 1, Look::Normal, W, 0},
    {LostFocus, S4Grey, 1, Look::Normal, W, 0},  {LostFocus, S1, 1, None, W, 0},
    // hover ticks: anything but the control's own window is away
    {OverContainer, S2, 1, Look::Normal, W, 0},  {OverOther, S2, 1, Look::Normal, W, 0},
    {Nowhere, S2, 1, Look::Normal, W, 0},        {OverOther, S4White, 3, Look::Selected, W, 0},
    {OverContainer, S4Grey, 3, Look::Selected, W, 0},
    {OverControl, S2, 2, None, W, 0},            {OverControl, S4White, 4, None, W, 0},
    {OverOther, S1, 1, None, W, 0},              {OverOther, S3, 3, None, W, 0},
};
// clang-format on

TEST(CommandTransitions, EveryRowOfTheTable) {
  for (const Row& row : kTable) {
    Rig rig;
    Reach(rig, row.start);
    Apply(rig, row.event);
    SCOPED_TRACE(::testing::Message() << "event " << row.event << " from start " << row.start);
    EXPECT_EQ(rig.control.Fields().State, row.state);
    EXPECT_EQ(rig.clicks, row.clicks);
    if (row.paint) {
      ASSERT_EQ(rig.paints, std::vector<Look>{*row.paint});
      const Surface& s = rig.control.Face();
      EXPECT_EQ((s.Pixel(40, 4) & 0xFF) > (s.Pixel(40, 20) & 0xFF), row.whiteOnTop);
    } else {
      EXPECT_TRUE(rig.paints.empty()) << LookName(rig.paints.front());
    }
  }
}

TEST(CommandTransitions, ADisabledControlLooksDisabledAndIgnoresEverything) {
  for (const Start start : {S0, S1, S2, S3, S3Held, S4White}) {
    for (int e = 0; e < kEvents; ++e) {
      SCOPED_TRACE(::testing::Message() << "event " << e << " from start " << start);
      Rig rig;
      Reach(rig, start);
      const CommandFields before = rig.control.Fields();
      rig.control.SetEnabled(false);  // the Disable look, whatever the state
      ASSERT_EQ(rig.paints, std::vector<Look>{Look::Disable});
      EXPECT_EQ(rig.control.Face().Pixel(40, 1), 0xC9C7BAu);
      EXPECT_FALSE(rig.control.Label().Enabled);
      rig.paints.clear();
      Apply(rig, static_cast<Event>(e));
      EXPECT_EQ(rig.control.Fields().LeftButtonDown, before.LeftButtonDown);
      EXPECT_TRUE(rig.paints.empty());
      EXPECT_EQ(rig.clicks, 0);
      rig.control.Resize(1500, 375);  // a new size repaints the Disable look
      EXPECT_EQ(rig.paints, std::vector<Look>{Look::Disable});
      // Enabled again, in the state it had, unless the focus came or went meanwhile.
      bool focused = start == S3 || start == S3Held || start == S4White;
      if (e == Focus || e == LostFocus) focused = e == Focus;
      const bool focusedState = before.State == 3 || before.State == 4;
      const std::uint8_t state = focused == focusedState ? before.State : focused ? 3 : 1;
      rig.control.SetEnabled(true);
      EXPECT_EQ(rig.control.Fields().State, state);
      EXPECT_EQ(rig.paints.back(), state == 3 && !focusedState ? Look::Selected : Look::Normal);
    }
  }
}

// The focus a window hands a disabled button on showing still counts once it is enabled: a
// press dragged off it is abandoned.
TEST(CommandTransitions, FocusThatCameWhileDisabledCountsOnceEnabled) {
  Rig rig;
  rig.SetUp();
  rig.control.SetEnabled(false);
  Apply(rig, Focus);
  rig.control.SetEnabled(true);
  EXPECT_EQ(rig.paints.back(), Look::Selected);
  for (Event e : {Move, LeftDown, OverOther, LeftUp}) Apply(rig, e);
  EXPECT_EQ(rig.control.Fields().State, 3);
  EXPECT_EQ(rig.clicks, 0);
}

TEST(CommandTransitions, ClickHandlersRunInsideTheReleaseAndMayFail) {
  Rig rig;
  Reach(rig, S2);
  std::vector<std::string> order;
  rig.control.SetPaintObserver([&](Look look) { order.push_back(LookName(look)); });
  rig.control.ConnectClick([&] {
    order.push_back("click");
    throw std::runtime_error("handler failed");
  });
  rig.control.ConnectClick([&] { order.push_back("second"); });
  Apply(rig, LeftUp);
  EXPECT_EQ(order, (std::vector<std::string>{"Normal", "click", "second"}));
}

enum ShellCall { Moved, Pressed, Released };

// What a shell forwards, in pixels: a left press asks for the focus, the second press of a
// double click does nothing, and a release away from the control is first seen as the hover
// tick sees it, so that a press dragged off never clicks however quickly it is released.
TEST(CommandPointer, ShellEventsFollowTheControlsOwnRules) {
  Rig rig;
  rig.SetUp();
  int asked = 0;
  bool focused = false;
  rig.platform.takeFocus = [&] {  // a window gives the focus only to a control without it
    ++asked;
    if (!focused) rig.control.OnGotFocus();
    focused = true;
  };
  const auto left = PointerEvent{kLeftButton, 0, 40, 12};
  const auto right = PointerEvent{kRightButton, 0, 40, 12};
  auto second = left;
  second.SecondOfDoubleClick = true;
  const std::optional<WindowId> on = testing::kControlWindow, off = testing::kOtherWindow;
  const struct {
    std::optional<WindowId> under;
    ShellCall call;
    PointerEvent event;
    std::uint8_t state;
    std::vector<Look> paints;
    int clicks, asked;
  } steps[] = {
      {on, Moved, {}, 2, {Look::HighLight}, 0, 0},
      {on, Pressed, second, 2, {}, 0, 0},
      {on, Pressed, right, 2, {}, 0, 0},
      {on, Pressed, left, 4, {Look::Pressed, Look::Pressed}, 0, 1},
      {off, Released, left, 3, {Look::Selected}, 0, 1},  // dragged off: abandoned
      {on, Moved, {}, 4, {Look::HighLightSelect}, 0, 1},
      {off, Released, right, 3, {Look::Selected}, 0, 1},
      {on, Moved, {}, 4, {Look::HighLightSelect}, 0, 1},
      {on, Released, right, 4, {}, 1, 1},
      {on, Pressed, left, 4, {Look::Pressed}, 1, 2},
      {on, Released, left, 4, {Look::HighLightSelect}, 2, 2},
  };
  int n = 0;
  for (const auto& step : steps) {
    SCOPED_TRACE(n++);
    rig.paints.clear();
    rig.platform.under = step.under;
    if (step.call == Moved) rig.control.PointerMoved(step.event);
    if (step.call == Pressed) rig.control.PointerPressed(step.event);
    if (step.call == Released) rig.control.PointerReleased(step.event);
    EXPECT_EQ(rig.control.Fields().State, step.state);
    EXPECT_EQ(rig.paints, step.paints);
    EXPECT_EQ(rig.clicks, step.clicks);
    EXPECT_EQ(asked, step.asked);
  }
  // The window's size in pixels, and a control placed in twips, at 120 dpi.
  rig.platform.scale = {12, 12};
  rig.control.ResizePixels(100, 30);
  EXPECT_EQ(rig.control.WidthTwips(), 1200);
  EXPECT_EQ(rig.control.HeightTwips(), 360);
  EXPECT_EQ(rig.control.Face().Width(), 100);
  const PixelRect placed = PlacedPixels({12, 12}, 4740, 3000, 1215, 5);
  EXPECT_EQ(std::vector<int>({placed.X, placed.Y, placed.Width, placed.Height}),
            std::vector<int>({395, 250, 101, 1}));
}

TEST(DoubleClickFilter, SameButtonSoonAndNearCompletesOneDoubleClick) {
  DoubleClickFilter f(400, 4);
  // A pair, afresh, a pair; too late, too far, another button; the clock wrapping round.
  // clang-format off
  const struct { int button; std::uint32_t t; int x; bool isDouble; } presses[] = {
      {1, 1000, 10, false}, {1, 1200, 12, true},  {1, 1300, 12, false}, {1, 1350, 12, true},
      {1, 2000, 10, false}, {1, 2401, 10, false}, {1, 2500, 15, false}, {3, 2600, 15, false},
      {3, 2700, 15, true},  {1, 0xFFFFFF00u, 0, false}, {1, 0x10u, 0, true}};
  // clang-format on
  for (const auto& p : presses) {
    EXPECT_EQ(f.IsDoubleClick(p.button, p.t, p.x, 10), p.isDouble) << p.t;
  }
}

}  // namespace
}  // namespace orvane
