#pragma once

#include <array>

#include "host/controls/picture.h"

namespace orvane {

// The six looks of the button. Only the first four are states; Pressed and Disable are
// painted without changing the state.
enum class Look { Normal = 0, HighLight, Selected, HighLightSelect, Pressed, Disable };

inline constexpr int kLookCount = 6;
inline constexpr int kStatePictureWidth = 64;
inline constexpr int kStatePictureHeight = 25;

const char* LookName(Look look);

// One picture per look; the frame pieces of every paint are cut from them.
struct StatePictures {
  std::array<Picture, kLookCount> Pictures;

  const Picture& operator[](Look look) const { return Pictures[static_cast<int>(look)]; }
  Picture& operator[](Look look) { return Pictures[static_cast<int>(look)]; }
};

// The pictures stored with the control (built into the program).
const StatePictures& DefaultStatePictures();

}  // namespace orvane
