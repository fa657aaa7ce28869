#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>

namespace orvane {

// A rectangle in pixels: its top-left corner and its size, the right and bottom edges
// exclusive, as Windows' RECT keeps them. A rectangle whose edges came reversed has a negative
// size.
struct Rect {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;

  // From its edges, as the windowing systems report windows; a size or an edge beyond an
  // int (a hostile window's) is cut to the nearest that fits.
  static Rect FromEdges(std::int64_t left, std::int64_t top, std::int64_t right,
                        std::int64_t bottom) {
    return {Fit(left), Fit(top), Fit(right - left), Fit(bottom - top)};
  }
  int Right() const { return Fit(std::int64_t{X} + Width); }
  int Bottom() const { return Fit(std::int64_t{Y} + Height); }
  bool Contains(int x, int y) const { return x >= X && y >= Y && x < Right() && y < Bottom(); }
  bool operator==(const Rect&) const = default;

 private:
  static int Fit(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
  }
};

}  // namespace orvane
