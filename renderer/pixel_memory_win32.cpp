#include <cstdlib>

#include "renderer/pixel_memory.h"

namespace orvane::renderer {

// The C library of Windows has no aligned_alloc to pair with free, and no huge pages on request.
std::uint8_t* allocatePixels(std::size_t bytes) {
  return static_cast<std::uint8_t*>(std::malloc(bytes));
}

void freePixels(std::uint8_t* pixels) {
  std::free(pixels);
}

}  // namespace orvane::renderer
