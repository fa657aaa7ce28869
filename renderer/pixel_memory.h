#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane::renderer {

// The decoded picture's buffer, from the system's allocator; freed only by freePixels.
std::uint8_t* allocatePixels(std::size_t bytes);
void freePixels(std::uint8_t* pixels);

}  // namespace orvane::renderer
