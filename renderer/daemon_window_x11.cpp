// The renderer's GLX shell: the tunnel in a window that a screen-saver daemon made.
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "renderer/daemon_window.h"
#include "renderer/renderer_gl.h"
#include "renderer/tunnel_scene.h"

namespace orvane::renderer {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kFramePeriod{20};

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

void reshape(int width, int height) {
  glViewport(0, 0, width, height);
  windowWidth = width;
  windowHeight = height;
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

  // The same frame timer as the GLUT window: re-armed when it fires, before the frame is drawn,
  // and every expose draws a frame too.
  auto nextTick = Clock::now() + kFramePeriod;
  bool redisplay = false;
  const int fd = ConnectionNumber(display);
  while (true) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      switch (event.type) {
        case DestroyNotify:
          _exit(0);
        case ConfigureNotify:
          if (event.xconfigure.window == target && surface != target) {
            XResizeWindow(display, surface, static_cast<unsigned>(event.xconfigure.width),
                          static_cast<unsigned>(event.xconfigure.height));
          } else if (event.xconfigure.window == surface) {
            reshape(event.xconfigure.width, event.xconfigure.height);
          }
          break;
        case Expose:
          redisplay = true;
          break;
        default:
          break;
      }
    }
    const auto now = Clock::now();
    if (now >= nextTick) {
      nextTick = now + kFramePeriod;
      redisplay = true;
    }
    if (redisplay) {
      redisplay = false;
      drawFrame();
      glXSwapBuffers(display, surface);
      continue;  // events that came meanwhile first
    }
    pollfd wait{fd, POLLIN, 0};
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(nextTick - now).count();
    poll(&wait, 1, static_cast<int>(left));
  }
}

}  // namespace orvane::renderer
