#pragma once

namespace orvane {

// True when the compositor WAYLAND_DISPLAY names takes a connection now; the connection is
// closed again at once.
bool WaylandCompositorAnswers();

}  // namespace orvane
