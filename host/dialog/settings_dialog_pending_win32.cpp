// Settings mode on Windows until the dialog has its Win32 shell: the process ends without a
// window (Main ends it once this returns). The dialog's Win32 shell takes this file's place.
#include "host/dialog/Orvane_P.h"

namespace orvane {

void ShowSettingsDialog(Platform&) {}

}  // namespace orvane
