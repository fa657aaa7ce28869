#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "host/controls/twips.h"

namespace orvane {

// A window of the windowing system (an X window id, an HWND).
using WindowId = std::uint64_t;

// What one control needs from the windowing system and from the form that holds it. The GTK
// widget and the Win32 window implement it; tests use fakes.
class CommandPlatform {
 public:
  virtual ~CommandPlatform() = default;
  // Shows the face (Command::Face) and the caption on the screen again.
  virtual void Show() = 0;
  // Starts the hover timer, or sets its interval if it runs; it calls OnHoverTick.
  virtual void StartHoverTimer(std::chrono::milliseconds interval) = 0;
  // The window under the pointer; nothing when the pointer cannot be found.
  virtual std::optional<WindowId> WindowUnderPointer() = 0;
  // The control's own (input) window; nothing before it exists.
  virtual std::optional<WindowId> ControlWindow() = 0;
  // Gives the control's window the keyboard focus; its arrival comes back as FocusMoved.
  virtual void TakeFocus() {}
  // The screen's twips-per-pixel factors.
  virtual TwipsScale Scale() { return {}; }
};

}  // namespace orvane
