#include "host/dialog/frame_extents_x11.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "common/x11_property.h"

namespace orvane {
namespace {

// Whether the root window's _NET_SUPPORTED lists the atom.
bool Supported(Display* display, Atom atom) {
  const std::vector<unsigned long> atoms = common::ListProperty(
      display, DefaultRootWindow(display), XInternAtom(display, "_NET_SUPPORTED", False), XA_ATOM);
  return std::find(atoms.begin(), atoms.end(), atom) != atoms.end();
}

bool HasProperty(Display* display, Window window, Atom property) {
  return common::ListProperty(display, window, property, XA_CARDINAL).size() == 4;
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
