#pragma once

namespace orvane::renderer {

// The renderer on a Wayland compositor ("--wayland"): the tunnel on every output, each drawn
// at its own size and scale, all at one moment of one scene stepped every 20 ms; an output
// plugged in gets its tunnel, one unplugged loses it. Escape ends it with exit code 0. Returns
// 1 with one line on standard error when there is no compositor, or one that offers neither
// the layer shell nor xdg-shell, or no OpenGL through EGL there.
int runOnWayland();

}  // namespace orvane::renderer
