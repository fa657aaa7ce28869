#pragma once

#include <cstdint>

namespace orvane::renderer {

// Draws the tunnel into a window that a screen-saver daemon made (through GLX, since GLUT
// draws only into windows of its own): the same scene, texture and 20 ms frame timer as the
// GLUT window, at the window's size and following its resizes. Selects no input and grabs
// nothing. Returns 1 with a message on standard error when the display or the window cannot
// be used; otherwise runs until the window or the display goes (exit code 0) or the process is
// ended from outside.
int runInDaemonWindow(std::uint32_t window);

}  // namespace orvane::renderer
