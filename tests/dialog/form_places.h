#pragma once

#include <string_view>

#include "host/dialog/dialog_layout.h"

namespace orvane::testing {

// A control's rectangle in the form's pixels: the panel's controls sit inside the panel.
inline DialogRect InForm(std::string_view name, int index = -1) {
  const DialogControl& control = DialogControlNamed(name, index);
  DialogRect rect = ToPixels(control, TwipsScale{});
  if (control.Container == DialogContainer::Panel) {
    const DialogRect panel = ToPixels(DialogControlNamed("Pic_C"), TwipsScale{});
    rect.X += panel.X;
    rect.Y += panel.Y;
  }
  return rect;
}

inline DialogPoint CentreInForm(std::string_view name, int index = -1) {
  const DialogRect rect = InForm(name, index);
  return {rect.X + rect.Width / 2, rect.Y + rect.Height / 2};
}

}  // namespace orvane::testing
