#pragma once

#include <string_view>

#include "platform/window_handle.h"

namespace orvane {

// Stand-in for FindWindowA(NULL, title): looks through every window of the display, of
// any process, for one whose title is exactly title. Unmapped windows count, and so do
// client windows that a window manager has put into its frames.
class WindowFinder {
 public:
  virtual ~WindowFinder() = default;
  // The first window found with that exact title, or 0.
  virtual WindowHandle FindWindow(std::string_view title) = 0;
};

}  // namespace orvane
