// The preview and the settings dialog have no Win32 shell yet; the tests hand Main handlers of
// their own, so these are never called.

#include <cstdlib>

#include "host/Orvane_R.h"
#include "host/dialog/Orvane_P.h"

namespace orvane {

void StartPreview(WindowHandle, Platform&) {
  std::abort();
}
void ShowSettingsDialog(Platform&) {
  std::abort();
}

}  // namespace orvane
