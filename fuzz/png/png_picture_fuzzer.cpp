// Feeds arbitrary bytes to the picture tool's PNG decoder as if they were the user's picture.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "fuzz/picture_fuzz.h"
#include "renderer/tools/png_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return orvane::fuzz::DecodeBytes(data, size, orvane::renderer::decodePng);
}
