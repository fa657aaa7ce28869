#pragma once

#include <X11/Xlib.h>

namespace orvane {

// Catches the X errors of the requests made while it lives (a window that another process
// destroys in the middle of a look-up, a handle that names no window) instead of letting the
// default handler end the process. One at a time; the host has one thread.
class X11ErrorTrap {
 public:
  explicit X11ErrorTrap(Display* display);
  ~X11ErrorTrap();
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  // Waits for the server's answers so far; true when any of the requests failed.
  bool Failed();

 private:
  Display* display_;
  int (*previous_)(Display*, XErrorEvent*);
};

}  // namespace orvane
