#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace orvane::testing {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};
static_assert(sizeof(Rgb) == 3);

// A picture of a window (or of the whole screen when window is 0) taken from an X server.
struct Screenshot {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // row by row from the top-left corner

  bool valid() const { return width > 0 && height > 0; }
  Rgb at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  // Writes a binary PPM, handy for looking at a failed test's screen.
  void SavePpm(const std::string& path) const {
    WriteBytes(path,
               "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n" +
                   std::string(reinterpret_cast<const char*>(pixels.data()), pixels.size() * 3));
  }
};

Screenshot TakeScreenshot(const std::string& display, unsigned long window = 0);

// True when every channel of a and b differs by at most tolerance.
inline bool Near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

}  // namespace orvane::testing
