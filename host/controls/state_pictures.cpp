#include "host/controls/state_pictures.h"

#include <array>
#include <cstdint>
#include <span>

namespace orvane {

// The six 64 x 25 pictures stacked in the order of the looks, as one binary PPM
// (assets/controls/state_pictures.ppm, built in).
std::span<const std::uint8_t> StatePicturesPpm();

const Picture& StatePicture(Look look) {
  static const std::array<Picture, kLookCount> pictures = [] {
    constexpr int kWidth = 64, kHeight = 25, kBytes = kWidth * kHeight * 3;
    const std::vector<std::uint8_t> all = NetpbmPixels(StatePicturesPpm(), kBytes * kLookCount);
    std::array<Picture, kLookCount> p;
    for (int i = 0; i < kLookCount; ++i) {
      p[i] = Picture{kWidth, kHeight, {all.begin() + i * kBytes, all.begin() + (i + 1) * kBytes}};
    }
    return p;
  }();
  return pictures[static_cast<int>(look)];
}

}  // namespace orvane
