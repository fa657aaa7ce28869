#include "host/controls/state_pictures.h"

#include <array>
#include <cstdint>

namespace orvane {
namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 25;

}  // namespace

// Built from assets/controls/make_state_pictures.cpp at build time.
extern const std::uint8_t kStatePictureRgb[kLookCount][kWidth * kHeight * 3];

const Picture& StatePicture(Look look) {
  static const std::array<Picture, kLookCount> pictures = [] {
    std::array<Picture, kLookCount> p;
    for (int i = 0; i < kLookCount; ++i) {
      p[i].Width = kWidth;
      p[i].Height = kHeight;
      p[i].Rgb.assign(std::begin(kStatePictureRgb[i]), std::end(kStatePictureRgb[i]));
    }
    return p;
  }();
  return pictures[static_cast<int>(look)];
}

}  // namespace orvane
