#include "host/dialog/frame_extents_x11.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <thread>

namespace orvane {
namespace {

// Whether the root window's _NET_SUPPORTED lists the atom.
bool Supported(Display* display, Atom atom) {
  const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, remaining = 0;
  unsigned char* data = nullptr;
  bool found = false;
  if (XGetWindowProperty(display, DefaultRootWindow(display), supported, 0, 4096, False, XA_ATOM,
                         &type, &format, &items, &remaining, &data) == Success &&
      data != nullptr && type == XA_ATOM && format == 32) {
    const auto* atoms = reinterpret_cast<const Atom*>(data);  // format 32 comes as long
    for (unsigned long i = 0; i < items && !found; ++i) found = atoms[i] == atom;
  }
  if (data != nullptr) XFree(data);
  return found;
}

bool HasProperty(Display* display, Window window, Atom property) {
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, remaining = 0;
  unsigned char* data = nullptr;
  const bool has = XGetWindowProperty(display, window, property, 0, 4, False, XA_CARDINAL, &type,
                                      &format, &items, &remaining, &data) == Success &&
                   type == XA_CARDINAL && items == 4;
  if (data != nullptr) XFree(data);
  return has;
}

}  // namespace

void RequestFrameExtents(Display* display, WindowHandle window, std::chrono::milliseconds wait) {
  if (display == nullptr || window == 0) return;
  const Atom request = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
  const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
  if (HasProperty(display, window, extents) || !Supported(display, request)) return;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = request;
  event.xclient.format = 32;
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(display);
  // The window manager answers at once; a bounded wait keeps a silent one from holding us.
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (!HasProperty(display, window, extents) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace orvane
