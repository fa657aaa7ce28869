#pragma once

#include <cstdint>

namespace orvane {

// A window of the display: an X window id. 0 means "no window", as a zero HWND does.
using WindowHandle = unsigned long;

// A rectangle in screen pixels, edges as Windows keeps them (right and bottom exclusive).
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const Rect&) const = default;
};

// A point in screen pixels.
struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const Point&) const = default;
};

}  // namespace orvane
