// The renderer's GLX shell: the tunnel in a window that a screen-saver daemon made.
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>

#include "renderer/daemon_window.h"
#include "renderer/glx_frames.h"
#include "renderer/renderer_gl.h"
#include "renderer/tunnel_scene.h"

namespace orvane::renderer {
namespace {

// Until the window is set up an X error is a reason to give up with a message; afterwards it
// means the daemon has destroyed the window under us, which ends the saver.
bool settingUp = true;
bool setupFailed = false;

int onXError(Display*, XErrorEvent*) {
  if (settingUp) {
    setupFailed = true;
    return 0;
  }
  _exit(0);
}

[[noreturn]] int onConnectionLost(Display*) {
  _exit(0);
}

int fail(const char* what, std::uint32_t window) {
  std::fprintf(stderr, "Orvane.dll: %s 0x%lx\n", what, static_cast<unsigned long>(window));
  return 1;
}

// True when windows of this visual take double-buffered RGBA OpenGL drawing.
bool drawsGl(Display* display, XVisualInfo* info) {
  int useGl = 0, rgba = 0, doubleBuffer = 0;
  return glXGetConfig(display, info, GLX_USE_GL, &useGl) == 0 && useGl &&
         glXGetConfig(display, info, GLX_RGBA, &rgba) == 0 && rgba &&
         glXGetConfig(display, info, GLX_DOUBLEBUFFER, &doubleBuffer) == 0 && doubleBuffer;
}

Window daemonWindow = None;
Window daemonSurface = None;

// Only the window's fate and size are heard: input belongs to the daemon.
void onEvent(Display* display, XEvent& event) {
  if (event.type == DestroyNotify) _exit(0);
  if (event.type != ConfigureNotify) return;
  if (event.xconfigure.window == daemonWindow && daemonSurface != daemonWindow) {
    XResizeWindow(display, daemonSurface, static_cast<unsigned>(event.xconfigure.width),
                  static_cast<unsigned>(event.xconfigure.height));
  } else if (event.xconfigure.window == daemonSurface) {
    reshape(event.xconfigure.width, event.xconfigure.height);
  }
}

}  // namespace

int runInDaemonWindow(std::uint32_t target) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fputs("Orvane.dll: cannot open the X display (is DISPLAY set?)\n", stderr);
    return 1;
  }
  XSetErrorHandler(onXError);
  XSetIOErrorHandler(onConnectionLost);

  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, target, &attributes) || setupFailed) {
    return fail("cannot find the window", target);
  }
  const bool isRoot = target == RootWindowOfScreen(attributes.screen);
  XVisualInfo wanted{};
  wanted.visualid = XVisualIDFromVisual(attributes.visual);
  wanted.screen = XScreenNumberOfScreen(attributes.screen);
  int count = 0;
  XVisualInfo* info = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count);

  // The daemon's window is drawn into directly when its visual allows; otherwise a child of
  // ours with a visual that does fills it (never on the root window: that child would be a
  // top-level window).
  Window surface = target;
  if (info == nullptr || !drawsGl(display, info)) {
    if (info != nullptr) XFree(info);
    int glAttributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 1, None};
    info = isRoot ? nullptr : glXChooseVisual(display, wanted.screen, glAttributes);
    if (info == nullptr) return fail("has no OpenGL visual for the window", target);
    XSetWindowAttributes set{};
    set.colormap = XCreateColormap(display, target, info->visual, AllocNone);
    set.background_pixmap = None;
    set.border_pixel = 0;
    set.event_mask = ExposureMask | StructureNotifyMask;
    surface =
        XCreateWindow(display, target, 0, 0, static_cast<unsigned>(attributes.width),
                      static_cast<unsigned>(attributes.height), 0, info->depth, InputOutput,
                      info->visual, CWColormap | CWBackPixmap | CWBorderPixel | CWEventMask, &set);
    XMapWindow(display, surface);
  }
  // Only the window's fate and size are heard: input belongs to the daemon.
  XSelectInput(display, target, StructureNotifyMask | (surface == target ? ExposureMask : 0));

  GLXContext context = glXCreateContext(display, info, nullptr, True);
  if (context == nullptr) context = glXCreateContext(display, info, nullptr, False);
  XFree(info);
  XSync(display, False);
  if (context == nullptr || setupFailed || !glXMakeCurrent(display, surface, context)) {
    return fail("cannot draw with OpenGL into the window", target);
  }
  XSync(display, False);
  if (setupFailed) return fail("cannot draw with OpenGL into the window", target);
  settingUp = false;

  initScene();
  initTexture();
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  reshape(attributes.width, attributes.height);

  // The same frame timer as the GLUT window.
  daemonWindow = target;
  daemonSurface = surface;
  runFrames(display, surface, onEvent);
}

}  // namespace orvane::renderer
