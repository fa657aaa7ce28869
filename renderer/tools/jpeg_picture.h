#pragma once

// JPEG pictures through libjpeg-turbo, scaled down while decoding and then read a row at a
// time; any warning (such as a premature end of the data) refuses the picture.

#include "renderer/tools/picture_decode.h"

namespace orvane::renderer {

// As decodePicture, for a file that starts with JPEG's start-of-image marker.
std::string decodeJpeg(std::FILE* file, const ChooseSize& choose, Picture& picture,
                       const PictureLimits& limits);

}  // namespace orvane::renderer
