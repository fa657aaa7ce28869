// The control's input: pointer events from the shell, the focus and the hover tick.
#include <optional>

#include "host/controls/Command.h"
#include "host/guarded.h"

namespace orvane {

// The focus may have come or gone while the control was disabled and ignored it; its state
// catches up, so that a press dragged off it later is still abandoned.
void Command::FollowFocus() {
  const bool focusedState =
      fields_.State == CommandState::Selected || fields_.State == CommandState::HighLightSelect;
  if (hasFocus_ && !focusedState) {
    Enter(CommandState::Selected, Look::Selected);
  } else if (!hasFocus_ && focusedState) {
    fields_.State = CommandState::Normal;
  }
}

void Command::Enter(std::uint8_t state, Look look) {
  fields_.State = state;
  PaintState(look);
}

bool Command::PointerOnControl() {
  std::optional<WindowId> under, own;
  Guarded([&] { under = platform_.WindowUnderPointer(); });
  Guarded([&] { own = platform_.ControlWindow(); });
  return under && own && *under == *own;
}

namespace {

// Buttons other than the three the handlers know (a mouse's back and forward buttons) are no
// events of the control at all.
bool KnownButton(std::int16_t button) {
  return button == kLeftButton || button == kRightButton || button == kMiddleButton;
}

}  // namespace

void Command::PointerPressed(std::int16_t button, bool secondOfDoubleClick) {
  // A double click's second press paints nothing; its release arrives as usual.
  if (secondOfDoubleClick || !KnownButton(button)) return;
  if (button == kLeftButton) Guarded([&] { platform_.TakeFocus(); });
  OnMouseDown(button);
}

void Command::PointerReleased(std::int16_t button) {
  if (!KnownButton(button)) return;
  // A release away from the control is seen as the next hover tick would see it, so that a
  // press dragged off never clicks, however quickly it is released.
  if (!PointerOnControl()) {
    OnHoverTick();
    if (button != kLeftButton) return;
  }
  OnMouseUp(button);
}

void Command::FocusMoved(bool onControl, bool withinWindow) {
  // Focus leaving for another top-level window (another program, a dialog opened over ours)
  // or for none is the window's activation: in its own window the control still has it.
  if (!onControl && !withinWindow) return;
  if (onControl == hasFocus_) return;
  onControl ? OnGotFocus() : OnLostFocus();
}

void Command::OnMouseMove() {
  if (!fields_.IsEnabled) return;
  if (fields_.State == CommandState::Normal) Enter(CommandState::HighLight, Look::HighLight);
  if (fields_.State == CommandState::Selected && !fields_.LeftButtonDown) {
    Enter(CommandState::HighLightSelect, Look::HighLightSelect);
  }
}

void Command::OnMouseDown(std::int16_t button) {
  if (!fields_.IsEnabled || button != kLeftButton) return;
  fields_.LeftButtonDown = kTrue;
  PaintState(Look::Pressed);
}

void Command::OnGotFocus() {
  hasFocus_ = true;
  if (!fields_.IsEnabled) return;
  // A click on a hovered button brings the press and the focus; both show Pressed.
  if (fields_.State == CommandState::HighLight)
    return Enter(CommandState::HighLightSelect, Look::Pressed);
  Enter(CommandState::Selected, Look::Selected);
}

void Command::OnMouseUp(std::int16_t button) {
  if (!fields_.IsEnabled) return;
  if (button == kLeftButton) {
    fields_.LeftButtonDown = kFalse;
    if (fields_.State == CommandState::HighLight) {
      PaintState(Look::Normal);
    } else if (fields_.State == CommandState::HighLightSelect) {
      PaintState(Look::HighLightSelect);
    }
  }
  // State 3 here means the pointer left while the button was held: the press is abandoned.
  if (fields_.IsEnabled == kTrue && fields_.State != CommandState::Selected) RaiseClick();
}

void Command::OnLostFocus() {
  hasFocus_ = false;
  if (!fields_.IsEnabled) return;
  if (fields_.State != CommandState::Normal) Enter(CommandState::Normal, Look::Normal);
}

void Command::OnHoverTick() {
  // Anything but the control's own window (the container, another control, another program,
  // the desktop, or a query that failed) counts as away.
  if (!PointerOnControl()) LeaveHover();
}

void Command::LeaveHover() {
  if (!fields_.IsEnabled) return;
  if (fields_.State == CommandState::HighLight) return Enter(CommandState::Normal, Look::Normal);
  if (fields_.State == CommandState::HighLightSelect) Enter(CommandState::Selected, Look::Selected);
}

}  // namespace orvane
