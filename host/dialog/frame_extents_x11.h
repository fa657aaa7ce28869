#pragma once

#include <chrono>

#include "platform/window_handle.h"

struct _XDisplay;

namespace orvane {

// Asks the window manager for a not yet shown window's _NET_FRAME_EXTENTS and waits a moment,
// so its rectangle counts the frame; without an answer the rectangle is the inside alone.
void RequestFrameExtents(_XDisplay* display, WindowHandle window,
                         std::chrono::milliseconds wait = std::chrono::milliseconds(500));

}  // namespace orvane
