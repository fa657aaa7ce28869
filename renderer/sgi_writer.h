#pragma once

// Writer for the tunnel's picture format (SGI image file, one byte per channel), used by the
// bundled picture's generator, the picture tool, the tests and the benchmarks.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane::renderer {

enum class SgiStorage { verbatim, runLength };

// Encodes width × height pixels of `channels` interleaved bytes each (1 to 4), rows in the
// order they are to be stored (row 0 first; SGI viewers show row 0 at the bottom).
std::vector<std::uint8_t> encodeSgi(const std::uint8_t* pixels, unsigned width, unsigned height,
                                    unsigned channels, SgiStorage storage);

// Run-length packets for one row, ended by a packet of count 0.
void encodeRleRow(const std::uint8_t* row, std::size_t width, std::vector<std::uint8_t>& out);

}  // namespace orvane::renderer
