// The tunnel renderer: opens the "Orvane_VC" window over every monitor (or, with --wayland,
// a surface on every output), draws the tunnel on each every 20 ms and ends only on Escape.

#include <GL/glut.h>

#include <cstdio>
#include <cstdlib>

#include "renderer/daemon_window.h"
#include "renderer/monitor_window.h"
#include "renderer/renderer_gl.h"
#include "renderer/tunnel_scene.h"
#include "renderer/wayland_shell.h"
#include "renderer/window_argument.h"

namespace {

using namespace orvane::renderer;

constexpr unsigned kFrameMilliseconds = 20;
constexpr unsigned char kEscape = 27;

void keyboard(unsigned char key, int, int) {
  if (key == kEscape) std::exit(0);
}

void display() {
  drawFrame();
  glutSwapBuffers();
}

// Re-armed before the frame is drawn, so drawing time does not stretch the period.
void timerTick(int) {
  glutPostRedisplay();
  glutTimerFunc(kFrameMilliseconds, timerTick, 0);
}

}  // namespace

int main(int argc, char** argv) {
  // On a Wayland session the host asks for the tunnel on every output there.
  if (findWaylandArgument(argc, argv)) return runOnWayland();
  // A screen-saver host hands over a daemon's window; without one, the GLUT window as ever.
  if (const WindowArgument argument = findWindowArgument(argc, argv); argument.given) {
    if (!argument.window) {
      std::fputs("Orvane.dll: --window-id needs a window id such as 0x600008\n", stderr);
      return 1;
    }
    return runInDaemonWindow(*argument.window);
  }
  if (const auto exitCode = runAcrossMonitors()) return *exitCode;
  windowWidth = 1024;
  windowHeight = 768;
  glutInit(&argc, argv);
  glutInitWindowSize(1024, 768);
  // Without a window manager, full screen moves the window by minus its own position: a
  // window placed at the origin ends up covering the screen exactly.
  glutInitWindowPosition(0, 0);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutCreateWindow("Orvane_VC");
  initScene();
  initTexture();
  glutReshapeFunc(reshape);
  glutDisplayFunc(display);
  glutKeyboardFunc(keyboard);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glutSetCursor(GLUT_CURSOR_NONE);
  // One monitor: full screen. Several: one window over all of them, a tunnel on each.
  if (!spreadGlutWindow()) glutFullScreen();
  glutTimerFunc(kFrameMilliseconds, timerTick, 0);
  glutMainLoop();
  return 0;
}
