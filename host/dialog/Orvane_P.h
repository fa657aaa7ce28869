#pragma once

#include "platform/platform.h"

// The settings dialog "<Orvane>".
namespace orvane {

// Settings mode's hand-over ("/c", "/c:<window>"). Shows the dialog modally, with no owner
// window, and returns when it has closed (saved or not); Main then ends the process. The
// dialog runs its own nested main loop (GTK dialog run or equivalent) while it is open.
void ShowSettingsDialog(Platform& platform);

}  // namespace orvane
