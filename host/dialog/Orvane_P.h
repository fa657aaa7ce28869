#pragma once

#include <memory>

#include "host/dialog/settings_dialog.h"
#include "platform/platform.h"

// The settings dialog "<Orvane>".
namespace orvane {

// Settings mode's hand-over ("/c", "/c:<window>"). Shows the dialog modally, with no owner
// window, and returns when it has closed (saved or not); Main then ends the process. The
// dialog runs its own nested main loop while it is open.
inline void ShowSettingsDialog(Platform& platform) {
  const std::unique_ptr<SettingsDialog> dialog = MakeSettingsDialog(platform);
  dialog->Show();
  dialog->RunModal();
}

}  // namespace orvane
