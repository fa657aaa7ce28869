#pragma once

#include <cstdint>

namespace orvane {

// A window of the display: an X window id. 0 means "no window", as a zero HWND does.
using WindowHandle = unsigned long;

// A point in screen pixels.
struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const Point&) const = default;
};

}  // namespace orvane
