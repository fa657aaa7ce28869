// The renderer's GLX shell for a desktop of several monitors: one "Orvane_VC" window over their
// bounding box, which GLUT's full screen would not give (it covers one monitor).
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "common/x11_property.h"
#include "renderer/glx_frames.h"
#include "renderer/monitor_layout.h"
#include "renderer/monitor_window.h"
#include "renderer/renderer_gl.h"

namespace orvane::renderer {
namespace {

constexpr char kEscape = 27;
constexpr char kTitle[] = "Orvane_VC";

// X errors are counted, not fatal: a failed set-up step is told by the count going up.
int xErrors = 0;

int onXError(Display*, XErrorEvent*) {
  ++xErrors;
  return 0;
}

[[noreturn]] int onConnectionLost(Display*) {
  _exit(0);
}

Window spanning = None;
Atom deleteWindow = None;

std::vector<ScreenRect> queryMonitors(Display* display) {
  const Window root = DefaultRootWindow(display);
  std::vector<ScreenRect> monitors;
  int event = 0, error = 0, major = 0, minor = 0;
  // Monitors came with RandR 1.5; an older server, or none listed, is one monitor.
  if (XRRQueryExtension(display, &event, &error) && XRRQueryVersion(display, &major, &minor) &&
      (major > 1 || (major == 1 && minor >= 5))) {
    int count = 0;
    if (XRRMonitorInfo* info = XRRGetMonitors(display, root, True, &count)) {
      for (int i = 0; i < count; ++i)
        monitors.push_back({info[i].x, info[i].y, info[i].width, info[i].height});
      XRRFreeMonitors(info);
    }
  }
  if (monitors.empty()) {
    monitors.push_back({0, 0, DisplayWidth(display, DefaultScreen(display)),
                        DisplayHeight(display, DefaultScreen(display))});
  }
  return monitors;
}

std::vector<unsigned long> listProperty(Display* display, Window window, const char* name,
                                        Atom type) {
  return common::ListProperty(display, window, XInternAtom(display, name, False), type);
}

// A running window manager (one whose check window names itself) that lists the hint for a
// full-screen window over several monitors.
bool managerSpansMonitors(Display* display) {
  const Window root = DefaultRootWindow(display);
  const int errorsBefore = xErrors;
  const auto check = listProperty(display, root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
  if (check.size() != 1 ||
      listProperty(display, check[0], "_NET_SUPPORTING_WM_CHECK", XA_WINDOW) != check ||
      xErrors != errorsBefore)
    return false;
  const auto supported = listProperty(display, root, "_NET_SUPPORTED", XA_ATOM);
  return std::find(supported.begin(), supported.end(),
                   XInternAtom(display, "_NET_WM_FULLSCREEN_MONITORS", False)) != supported.end();
}

Cursor blankCursor(Display* display, Window root) {
  const char nothing[1] = {0};
  const Pixmap pixmap = XCreateBitmapFromData(display, root, nothing, 1, 1);
  XColor black{};
  const Cursor cursor = XCreatePixmapCursor(display, pixmap, pixmap, &black, &black, 0, 0);
  XFreePixmap(display, pixmap);
  return cursor;
}

void setTitle(Display* display, Window window) {
  XStoreName(display, window, kTitle);
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                  XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(kTitle), sizeof kTitle - 1);
  XSetWMProtocols(display, window, &deleteWindow, 1);
}

// Asks the window manager to stretch the full-screen window over the monitors at the box's
// four edges (their Xinerama numbers, which follow RandR's monitor order).
void askToSpan(Display* display, Window window, const MonitorLayout& layout) {
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = window;
  message.xclient.message_type = XInternAtom(display, "_NET_WM_FULLSCREEN_MONITORS", False);
  message.xclient.format = 32;
  message.xclient.data.l[0] = layout.top;
  message.xclient.data.l[1] = layout.bottom;
  message.xclient.data.l[2] = layout.left;
  message.xclient.data.l[3] = layout.right;
  message.xclient.data.l[4] = 1;  // a normal application
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &message);
}

// Without a window manager's help no one gives the window the keyboard: it takes it, so that
// Escape arrives. Another client may hold it for a moment.
void grabKeyboard(Display* display, Window window) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (XGrabKeyboard(display, window, True, GrabModeAsync, GrabModeAsync, CurrentTime) ==
        GrabSuccess)
      return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void onEvent(Display*, XEvent& event) {
  switch (event.type) {
    case KeyPress: {
      char text[8];
      if (XLookupString(&event.xkey, text, sizeof text, nullptr, nullptr) == 1 &&
          text[0] == kEscape)
        std::exit(0);
      break;
    }
    case ConfigureNotify:
      if (event.xconfigure.window == spanning)
        reshape(event.xconfigure.width, event.xconfigure.height);
      break;
    case ClientMessage:
      // As GLUT does: closing the window ends the program.
      if (static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) std::exit(0);
      break;
    case DestroyNotify:
      std::exit(0);
    default:
      break;
  }
}

int fail(const char* what) {
  std::fprintf(stderr, "Orvane.dll: %s\n", what);
  return 1;
}

}  // namespace

std::optional<int> runAcrossMonitors() {
  Display* display = XOpenDisplay(nullptr);
  // GLUT reports a display it cannot open, as ever.
  if (display == nullptr) return std::nullopt;
  XSetErrorHandler(onXError);
  const MonitorLayout layout = layOutMonitors(queryMonitors(display));
  if (layout.viewports.size() < 2) {
    XCloseDisplay(display);
    XSetErrorHandler(nullptr);
    return std::nullopt;
  }
  XSetIOErrorHandler(onConnectionLost);

  const bool managed = managerSpansMonitors(display);
  const Window root = DefaultRootWindow(display);
  int glAttributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 1, None};
  XVisualInfo* info = glXChooseVisual(display, DefaultScreen(display), glAttributes);
  if (info == nullptr) return fail("has no OpenGL visual for its window");

  XSetWindowAttributes set{};
  set.colormap = XCreateColormap(display, root, info->visual, AllocNone);
  set.background_pixel = 0;  // black until the first frame
  set.border_pixel = 0;
  set.override_redirect = managed ? False : True;
  set.cursor = blankCursor(display, root);
  set.event_mask = KeyPressMask | ExposureMask | StructureNotifyMask;
  const ScreenRect& box = layout.window;
  spanning = XCreateWindow(
      display, root, box.x, box.y, static_cast<unsigned>(box.width),
      static_cast<unsigned>(box.height), 0, info->depth, InputOutput, info->visual,
      CWColormap | CWBackPixel | CWBorderPixel | CWOverrideRedirect | CWCursor | CWEventMask, &set);
  deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  setTitle(display, spanning);
  if (managed) {
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    XChangeProperty(display, spanning, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&fullScreen), 1);
  }

  GLXContext context = glXCreateContext(display, info, nullptr, True);
  if (context == nullptr) context = glXCreateContext(display, info, nullptr, False);
  XFree(info);
  const int errorsBefore = xErrors;
  XSync(display, False);
  if (context == nullptr || xErrors != errorsBefore ||
      !glXMakeCurrent(display, spanning, context)) {
    return fail("cannot draw with OpenGL into its window");
  }
  XMapRaised(display, spanning);
  if (managed) {
    askToSpan(display, spanning, layout);
  } else {
    XSync(display, False);
    grabKeyboard(display, spanning);
  }

  initScene();
  initTexture();
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  reshape(box.width, box.height);
  useMonitorLayout(layout);
  runFrames(display, spanning, onEvent);
}

bool spreadGlutWindow() {
  return false;
}

}  // namespace orvane::renderer
