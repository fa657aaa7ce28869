#pragma once

#include <gdk/gdk.h>

#include <optional>

#include "host/controls/command_platform.h"

namespace orvane {

// The deepest X window under the pointer, of any program: the root window over the
// desktop. Nothing when the display is not X11 or the pointer is on another screen.
std::optional<WindowId> WindowFromPointer(GdkDisplay* display);

// The X window of a GDK window, or of its nearest ancestor that has one.
std::optional<WindowId> NativeWindowOf(GdkWindow* window);

}  // namespace orvane
