#pragma once

#include "host/controls/picture.h"

namespace orvane {

// The six looks of the button. Only the first four are states; Pressed and Disable are
// painted without changing the state.
enum class Look { Normal = 0, HighLight, Selected, HighLightSelect, Pressed, Disable };

inline constexpr int kLookCount = 6;

// The picture stored with the control for a look (built into the program); the frame pieces of
// every paint are cut from it.
const Picture& StatePicture(Look look);

}  // namespace orvane
