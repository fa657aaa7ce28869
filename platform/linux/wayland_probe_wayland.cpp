#include <wayland-client-core.h>

#include "platform/linux/wayland_probe.h"

namespace orvane {

bool WaylandCompositorAnswers() {
  // A connect needs no answer from the compositor, so a stalled one cannot hold the start up;
  // a socket no compositor listens on fails here.
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) return false;
  wl_display_disconnect(display);
  return true;
}

}  // namespace orvane
