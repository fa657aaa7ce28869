#pragma once

// The settings dialog "<Orvane>" as a window of this system, GTK 3 or Win32. All behaviour
// lives in SettingsForm (settings_form.h) and what the dialog shows in its table of controls
// (dialog_controls.h); the window is built and painted from them and forwards events.

#include <memory>
#include <string_view>

#include "platform/platform.h"

namespace orvane {

class SettingsDialog {
 public:
  SettingsDialog() = default;
  virtual ~SettingsDialog() = default;
  SettingsDialog(const SettingsDialog&) = delete;
  SettingsDialog& operator=(const SettingsDialog&) = delete;

  // Runs the load steps, then shows the dialog with no control focused.
  virtual void Show() = 0;
  // Handles events until the dialog has closed. Tab moves the focus; Enter and Escape do
  // nothing, as the dialog has no default or cancel button.
  virtual void RunModal() = 0;
  virtual bool Closed() const = 0;

  virtual WindowHandle Window() const = 0;
  // The window of a control that has one of its own ("Pic_C", "BGM_Repeat", "Cmd_File",
  // "Cmd_Set" or "Cmd_Can" on Win32); 0 for any other.
  virtual WindowHandle ControlWindow(std::string_view name) const = 0;
};

// Builds the window on this system's display (created, not shown).
std::unique_ptr<SettingsDialog> MakeSettingsDialog(Platform& platform);

}  // namespace orvane
