#pragma once

#include <X11/Xlib.h>

#include <vector>

namespace orvane::common {

// A window's property of 32-bit items (windows, atoms, cardinals) of the given type, up to 4096
// of them; empty when it is missing or of another type or format.
std::vector<unsigned long> ListProperty(Display* display, Window window, Atom property, Atom type);

}  // namespace orvane::common
