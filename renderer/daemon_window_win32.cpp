// Windows runs a saver through Orvane.scr /s and /p only: no daemon hands over a window.
#include <cstdio>

#include "renderer/daemon_window.h"

namespace orvane::renderer {

int runInDaemonWindow(std::uint32_t) {
  std::fputs("Orvane.dll: --window-id is for screen-saver daemons on X11\n", stderr);
  return 1;
}

}  // namespace orvane::renderer
