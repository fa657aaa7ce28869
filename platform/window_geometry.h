#pragma once

#include <optional>

#include "platform/rect.h"
#include "platform/window_handle.h"

namespace orvane {

// Where windows are: stand-ins for GetWindowRect and SetParent.
class WindowGeometry {
 public:
  virtual ~WindowGeometry() = default;
  // The window's outer rectangle in screen pixels; nullopt when the window does not exist.
  virtual std::optional<Rect> GetWindowRect(WindowHandle window) = 0;
  // Makes child a child window of parent at (0, 0) of the parent's inside; parent 0 makes it
  // a top-level window again. False when either window does not exist.
  virtual bool SetParent(WindowHandle child, WindowHandle parent) = 0;
};

}  // namespace orvane
