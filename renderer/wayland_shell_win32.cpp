// Windows has no Wayland compositor: the host never asks for one.
#include <cstdio>

#include "renderer/wayland_shell.h"

namespace orvane::renderer {

int runOnWayland() {
  std::fputs("Orvane.dll: --wayland is for Wayland sessions on Linux\n", stderr);
  return 1;
}

}  // namespace orvane::renderer
