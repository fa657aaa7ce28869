#pragma once

// PNG files made by the benchmark itself, so that what it feeds the picture tool is known to
// the byte: a plain one compresses row by row, so that even a 20000 × 20000 picture is made
// in a few seconds and holds only its compressed bytes.

#include <cstdint>
#include <functional>
#include <string>

namespace orvane::bench {

// Row y's pixels, three bytes each, kept by the caller until the next call. The same pointer
// as for the row before says the same row again, which is stored without being looked at.
using PngRow = std::function<const std::uint8_t*(std::uint32_t y)>;

// An 8-bit RGB PNG of width × height (IHDR, one IDAT, IEND).
std::string MakePng(std::uint32_t width, std::uint32_t height, const PngRow& row);

}  // namespace orvane::bench
