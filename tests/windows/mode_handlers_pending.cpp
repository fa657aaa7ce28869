// The preview has no Win32 shell yet; the tests hand Main handlers of
// their own, so these are never called.

#include <cstdlib>

#include "host/Orvane_R.h"

namespace orvane {

void StartPreview(WindowHandle, Platform&) {
  std::abort();
}

}  // namespace orvane
