#include <sys/mman.h>

#include <cstdlib>

#include "renderer/pixel_memory.h"

namespace orvane::renderer {

// In huge pages where the system gives them on request: a big picture then costs a few dozen
// page faults rather than one for every 4 kB.
std::uint8_t* allocatePixels(std::size_t bytes) {
  constexpr std::size_t kHugePage = std::size_t{2} << 20;
  if (bytes < kHugePage) return static_cast<std::uint8_t*>(std::malloc(bytes));
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* pixels = std::aligned_alloc(kHugePage, rounded);
  if (pixels != nullptr) madvise(pixels, rounded, MADV_HUGEPAGE);
  return static_cast<std::uint8_t*>(pixels);
}

void freePixels(std::uint8_t* pixels) {
  std::free(pixels);
}

}  // namespace orvane::renderer
