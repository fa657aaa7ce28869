#include "renderer/tools/exif_orientation.h"

#include <cstring>

namespace orvane::renderer {

int exifOrientation(const std::uint8_t* data, std::size_t size) {
  if (size < 14 || std::memcmp(data, "Exif\0\0", 6) != 0) return 1;
  const std::uint8_t* tiff = data + 6;
  const std::size_t length = size - 6;
  const bool big = tiff[0] == 'M' && tiff[1] == 'M';
  if (!big && !(tiff[0] == 'I' && tiff[1] == 'I')) return 1;
  const auto u16 = [&](std::size_t at) -> std::uint32_t {
    return big ? (tiff[at] << 8) | tiff[at + 1] : (tiff[at + 1] << 8) | tiff[at];
  };
  const auto u32 = [&](std::size_t at) -> std::uint64_t {
    return big ? (std::uint64_t{u16(at)} << 16) | u16(at + 2)
               : (std::uint64_t{u16(at + 2)} << 16) | u16(at);
  };
  if (u16(2) != 42) return 1;
  const std::uint64_t directory = u32(4);
  if (directory + 2 > length) return 1;
  const std::uint32_t entries = u16(directory);
  for (std::uint64_t i = 0; i < entries; ++i) {
    const std::uint64_t at = directory + 2 + 12 * i;
    if (at + 12 > length) return 1;
    // Tag 0x0112, one SHORT, its value in the entry itself.
    if (u16(at) == 0x0112 && u16(at + 2) == 3 && u32(at + 4) >= 1) {
      const std::uint32_t value = u16(at + 8);
      return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
  }
  return 1;
}

Picture orientPicture(const Picture& stored, int orientation) {
  if (orientation < 2 || orientation > 8) return stored;
  const int w = stored.width, h = stored.height;
  Picture upright;
  upright.width = swapsSides(orientation) ? h : w;
  upright.height = swapsSides(orientation) ? w : h;
  upright.rgb.resize(stored.rgb.size());
  for (int y = 0; y < upright.height; ++y) {
    for (int x = 0; x < upright.width; ++x) {
      // Where the upright pixel (x, y) lies in the stored picture.
      int sx = x, sy = y;
      switch (orientation) {
        case 2:
          sx = w - 1 - x;
          break;
        case 3:
          sx = w - 1 - x;
          sy = h - 1 - y;
          break;
        case 4:
          sy = h - 1 - y;
          break;
        case 5:
          sx = y;
          sy = x;
          break;
        case 6:
          sx = y;
          sy = h - 1 - x;
          break;
        case 7:
          sx = w - 1 - y;
          sy = h - 1 - x;
          break;
        case 8:
          sx = w - 1 - y;
          sy = x;
          break;
      }
      std::memcpy(&upright.rgb[(static_cast<std::size_t>(y) * upright.width + x) * 3],
                  &stored.rgb[(static_cast<std::size_t>(sy) * w + sx) * 3], 3);
    }
  }
  return upright;
}

}  // namespace orvane::renderer
