#pragma once

#include <chrono>

#include "platform/window_handle.h"

struct _XDisplay;

namespace orvane {

// Asks the window manager, where it offers it, which frame it will put around a window not
// yet shown, and waits a moment for the answer: the window's _NET_FRAME_EXTENTS, which the
// window's rectangle then counts. Without a window manager, or with one that does not say,
// nothing is asked and the window's rectangle is its inside alone.
void RequestFrameExtents(_XDisplay* display, WindowHandle window,
                         std::chrono::milliseconds wait = std::chrono::milliseconds(500));

}  // namespace orvane
