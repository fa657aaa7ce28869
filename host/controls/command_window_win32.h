#pragma once

// The Command button as a Win32 window class of its own ("OrvaneCommand"); it takes the focus
// by Tab or a left press, and no key clicks it.

#include "host/controls/Command.h"
#include "platform/win32/windows_api.h"

namespace orvane {

class CommandWindow final : CommandPlatform {
 public:
  // A child window of parent, placed in twips relative to the parent's client area.
  CommandWindow(HWND parent, const TwipsScale& scale, double leftTwips, double topTwips,
                double widthTwips, double heightTwips);
  ~CommandWindow() override;
  CommandWindow(const CommandWindow&) = delete;
  CommandWindow& operator=(const CommandWindow&) = delete;

  Command& Control() { return control_; }

 private:
  void Show() override;
  void StartHoverTimer(std::chrono::milliseconds interval) override;
  std::optional<WindowId> WindowUnderPointer() override;
  std::optional<WindowId> ControlWindow() override;
  void TakeFocus() override;

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();

  Command control_;
  HWND window_ = nullptr;
};

}  // namespace orvane
