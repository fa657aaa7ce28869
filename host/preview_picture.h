#pragma once

#include <cstdint>
#include <span>

namespace orvane {

// Img_Prev's picture as stored with the program: the bytes of a 152 x 112 baseline JPEG
// (assets/preview/Img_Prev.jpg, built in).
std::span<const std::uint8_t> PreviewPictureJpeg();

}  // namespace orvane
