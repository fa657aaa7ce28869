#pragma once

#include <gdk/gdk.h>

#include <optional>

#include "host/controls/command_platform.h"
#include "host/controls/twips.h"

namespace orvane {

// The deepest X window under the pointer, of any program: the root window over the
// desktop. Nothing when the display is not X11 or the pointer is on another screen.
std::optional<WindowId> WindowFromPointer(GdkDisplay* display);

// The X window of a GDK window, or of its nearest ancestor that has one.
std::optional<WindowId> NativeWindowOf(GdkWindow* window);

// The screen's twips-per-pixel factors, as the rest of the host reckons them (Xft.dpi, else
// the screen's size); 15 when the display is not X11.
TwipsScale ScreenTwipsScale(GdkDisplay* display);

}  // namespace orvane
