#include "host/controls/state_pictures.h"

#include <cstdint>

namespace orvane {

// Built from assets/controls/make_state_pictures.cpp at build time.
extern const std::uint8_t kStatePictureRgb[kLookCount]
                                          [kStatePictureWidth * kStatePictureHeight * 3];

const char* LookName(Look look) {
  switch (look) {
    case Look::Normal:
      return "Normal";
    case Look::HighLight:
      return "HighLight";
    case Look::Selected:
      return "Selected";
    case Look::HighLightSelect:
      return "HighLightSelect";
    case Look::Pressed:
      return "Pressed";
    case Look::Disable:
      return "Disable";
  }
  return "?";
}

const StatePictures& DefaultStatePictures() {
  static const StatePictures pictures = [] {
    StatePictures p;
    for (int i = 0; i < kLookCount; ++i) {
      Picture& picture = p.Pictures[i];
      picture.Width = kStatePictureWidth;
      picture.Height = kStatePictureHeight;
      picture.Rgb.assign(std::begin(kStatePictureRgb[i]), std::end(kStatePictureRgb[i]));
    }
    return p;
  }();
  return pictures;
}

}  // namespace orvane
