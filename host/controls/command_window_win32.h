#pragma once

// The Command button as a Win32 window class of its own ("OrvaneCommand"): on WM_PAINT the face
// the core describes, drawn with GDI (face_painter_win32.h) and the caption over it into a
// memory bitmap that is then copied to the window, and the 100 ms hover timer on the window.
// All behaviour lives in orvane::Command (Command.h, which shows how a dialog sets a button up);
// the window takes the keyboard focus by Tab or by a left press, and no key clicks it.

#include <cstdint>
#include <memory>

#include "host/controls/Command.h"
#include "host/controls/caption_painter_win32.h"
#include "platform/win32/windows_api.h"

namespace orvane {

class CommandWindow {
 public:
  // A child window of parent, placed in twips relative to the parent's client area, at the
  // screen's scale.
  CommandWindow(HWND parent, const TwipsScale& scale, double leftTwips, double topTwips,
                double widthTwips, double heightTwips);
  ~CommandWindow();
  CommandWindow(const CommandWindow&) = delete;
  CommandWindow& operator=(const CommandWindow&) = delete;

  HWND Window() const;
  Command& Control();

  class Shell;

 private:
  std::unique_ptr<Shell> shell_;
};

}  // namespace orvane
