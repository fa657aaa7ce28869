#pragma once

#include "platform/platform.h"

// The settings dialog "<Orvane>".
namespace orvane {

// Settings mode's hand-over ("/c", "/c:<window>"). Builds the dialog on this system's display,
// runs its load steps and shows it modally, with no owner window, and returns when it has
// closed (saved or not); Main then ends the process. All behaviour lives in SettingsForm
// (settings_form.h) and what the dialog shows in its table of controls (dialog_controls.h);
// the window is built and painted from them and forwards events.
void ShowSettingsDialog(Platform& platform);

}  // namespace orvane
