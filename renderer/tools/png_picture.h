#pragma once

// PNG pictures through libpng, a row at a time; any error libpng reports refuses the picture.

#include "renderer/tools/picture_decode.h"

namespace orvane::renderer {

// As decodePicture, for a file that starts with PNG's signature.
std::string decodePng(std::FILE* file, const ChooseSize& choose, Picture& picture,
                      const PictureLimits& limits);

}  // namespace orvane::renderer
