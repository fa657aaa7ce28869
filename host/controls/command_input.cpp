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
    fields_.State = CommandState::Selected;
    PaintState(Look::Selected);
  } else if (!hasFocus_ && focusedState) {
    fields_.State = CommandState::Normal;
  }
}

// ---------------------------------------------------------------- what the shell forwards

float Command::TwipsX(double pixels) {
  return static_cast<float>(platform_.Scale().X * pixels);
}

float Command::TwipsY(double pixels) {
  return static_cast<float>(platform_.Scale().Y * pixels);
}

bool Command::PointerOnControl() {
  std::optional<WindowId> under, own;
  Guarded([&] { under = platform_.WindowUnderPointer(); });
  Guarded([&] { own = platform_.ControlWindow(); });
  return under && own && *under == *own;
}

void Command::PointerPressed(const PointerEvent& event) {
  // The second press of a double click is not handled: it paints nothing. Its release
  // arrives as usual.
  if (event.SecondOfDoubleClick) return;
  if (event.Button == kLeftButton) Guarded([&] { platform_.TakeFocus(); });
  OnMouseDown(event.Button, event.Shift, TwipsX(event.X), TwipsY(event.Y));
}

void Command::PointerReleased(const PointerEvent& event) {
  // A release away from the control is seen as the next hover tick would see it, so that a
  // press dragged off never clicks, however quickly it is released.
  if (!PointerOnControl()) {
    OnHoverTick();
    if (event.Button != kLeftButton) return;
  }
  OnMouseUp(event.Button, event.Shift, TwipsX(event.X), TwipsY(event.Y));
}

void Command::PointerMoved(const PointerEvent& event) {
  OnMouseMove(event.Button, event.Shift, TwipsX(event.X), TwipsY(event.Y));
}

// ---------------------------------------------------------------- the control's own handlers

void Command::OnMouseMove(std::int16_t, std::int16_t, float, float) {
  if (!fields_.IsEnabled) return;
  if (fields_.State == CommandState::Normal) {
    fields_.State = CommandState::HighLight;
    PaintState(Look::HighLight);
  }
  if (fields_.State == CommandState::Selected && !fields_.LeftButtonDown) {
    fields_.State = CommandState::HighLightSelect;
    PaintState(Look::HighLightSelect);
  }
}

void Command::OnMouseDown(std::int16_t button, std::int16_t, float, float) {
  if (!fields_.IsEnabled) return;
  if (button != kLeftButton) return;
  fields_.LeftButtonDown = kTrue;
  PaintState(Look::Pressed);
}

void Command::OnGotFocus() {
  hasFocus_ = true;
  if (!fields_.IsEnabled) return;
  if (fields_.State != CommandState::HighLight) {
    fields_.State = CommandState::Selected;
    PaintState(Look::Selected);
  } else {
    // A click on a hovered button brings the press and the focus; both show Pressed.
    fields_.State = CommandState::HighLightSelect;
    PaintState(Look::Pressed);
  }
}

void Command::OnMouseUp(std::int16_t button, std::int16_t, float, float) {
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
  if (fields_.State != CommandState::Normal) {
    fields_.State = CommandState::Normal;
    PaintState(Look::Normal);
  }
}

void Command::OnHoverTick() {
  // Anything but the control's own window (the container, another control, another program,
  // the desktop, or a query that failed) counts as away.
  if (!PointerOnControl()) LeaveHover();
}

void Command::LeaveHover() {
  if (!fields_.IsEnabled) return;
  if (fields_.State == CommandState::HighLight) {
    fields_.State = CommandState::Normal;
    PaintState(Look::Normal);
  } else if (fields_.State == CommandState::HighLightSelect) {
    fields_.State = CommandState::Selected;
    PaintState(Look::Selected);
  }
}

}  // namespace orvane
