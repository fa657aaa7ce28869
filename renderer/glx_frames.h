#pragma once

#include <GL/glx.h>
#include <X11/Xlib.h>

namespace orvane::renderer {

// The renderer's frame loop (frame_loop.h) for its GLX windows: every 20 ms a frame, and one
// at every expose of the surface. Each event goes to handle first; the loop never returns, the
// process ends from a handler or from outside.
[[noreturn]] void runFrames(Display* display, GLXDrawable surface,
                            void (*handle)(Display*, XEvent&));

}  // namespace orvane::renderer
