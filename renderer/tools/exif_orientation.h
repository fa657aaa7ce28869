#pragma once

// The orientation a camera records in a JPEG's Exif block, and turning a picture upright by it.

#include <cstddef>
#include <cstdint>

#include "renderer/tools/picture_decode.h"

namespace orvane::renderer {

// The orientation (1 to 8, Exif's numbering) in an APP1 segment's data ("Exif\0\0" and a TIFF
// header); 1 when the data holds none or is damaged.
int exifOrientation(const std::uint8_t* data, std::size_t size);

// True for the orientations that turn the picture a quarter, so that its sides swap.
inline bool swapsSides(int orientation) {
  return orientation >= 5 && orientation <= 8;
}

// The picture as the camera's orientation says it is to be seen.
Picture orientPicture(const Picture& stored, int orientation);

}  // namespace orvane::renderer
