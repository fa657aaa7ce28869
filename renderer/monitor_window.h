#pragma once

#include <optional>

// The "Orvane_VC" window over every monitor. The monitors are asked for once, at start-up: one
// plugged in or out while the tunnel runs is seen by the next run.
namespace orvane::renderer {

// X11: with more than one monitor, opens "Orvane_VC" over all of them in a GLX window of its
// own, draws the tunnel on each until Escape and returns the exit code (1 with a message when
// no OpenGL window can be made). nullopt with one monitor, which the GLUT window covers.
// Windows: always nullopt.
std::optional<int> runAcrossMonitors();

// Windows: with more than one monitor, makes the current GLUT window a borderless one over the
// virtual screen, the tunnel drawn on each monitor, and returns true. X11: false.
bool spreadGlutWindow();

}  // namespace orvane::renderer
