#pragma once

// PNG files made in the test itself, so that what a test feeds the picture tool is known to
// the byte: a plain one compresses row by row, so that even a 20000 × 20000 picture is made
// in a few seconds and holds only its compressed bytes.

#include <cstdint>
#include <functional>
#include <string>

namespace orvane::testing {

// Row y's pixels, three bytes each, kept by the caller until the next call. The same pointer
// as for the row before says the same row again, which is stored without being looked at.
using PngRow = std::function<const std::uint8_t*(std::uint32_t y)>;

// An 8-bit RGB PNG of width × height (IHDR, one IDAT, IEND).
std::string MakePng(std::uint32_t width, std::uint32_t height, const PngRow& row);

// A PNG's signature and header chunk alone, claiming width × height.
std::string PngHeader(std::uint32_t width, std::uint32_t height);

}  // namespace orvane::testing
