#pragma once

#include <GL/glx.h>
#include <X11/Xlib.h>

namespace orvane::renderer {

// The renderer's own frame timer for its GLX windows, as in the GLUT window: every 20 ms a
// frame, the timer re-armed when it fires, before the frame is drawn; every expose of the
// surface draws one too. Each event goes to handle first; the loop never returns, the
// process ends from a handler or from outside.
[[noreturn]] void runFrames(Display* display, GLXDrawable surface,
                            void (*handle)(Display*, XEvent&));

// Window size changes reach the scene here: the size every later frame uses.
void reshape(int width, int height);

}  // namespace orvane::renderer
