#pragma once

#include <optional>

#include "platform/window_handle.h"

namespace orvane {

// Stand-in for GetCursorPos: where the mouse pointer is on the screen.
class Pointer {
 public:
  virtual ~Pointer() = default;
  // Screen pixels; nullopt when the position cannot be read.
  virtual std::optional<Point> GetCursorPos() = 0;
};

}  // namespace orvane
