#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orvane {

// A 24-bit picture, row by row from the top-left corner, three bytes (R, G, B) a pixel.
struct Picture {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Rgb;

  bool Valid() const {
    return Width > 0 && Height > 0 && Rgb.size() == static_cast<std::size_t>(Width) * Height * 3;
  }
  // The pixel as 0xRRGGBB; the caller keeps x and y inside the picture.
  std::uint32_t At(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * Width + x) * 3;
    return (std::uint32_t{Rgb[i]} << 16) | (std::uint32_t{Rgb[i + 1]} << 8) | Rgb[i + 2];
  }
};

// The pixels of a picture built into the program as a binary PPM or PAM file: its last count
// bytes, after the header; black ones if the file is too short to hold them.
inline std::vector<std::uint8_t> NetpbmPixels(std::span<const std::uint8_t> file,
                                              std::size_t count) {
  if (file.size() < count) return std::vector<std::uint8_t>(count);
  return {file.end() - static_cast<std::ptrdiff_t>(count), file.end()};
}

}  // namespace orvane
