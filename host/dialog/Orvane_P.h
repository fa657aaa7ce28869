#pragma once

#include "platform/platform.h"

// The settings dialog "<Orvane>".
namespace orvane {

// Settings mode's hand-over: shows the dialog modally with no owner window and returns once it
// has closed, saved or not; Main then ends the process.
void ShowSettingsDialog(Platform& platform);

}  // namespace orvane
