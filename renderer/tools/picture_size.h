#pragma once

// Sizes for pictures turned into tunnel textures: every side a power of two, as the oldest
// OpenGL implementations require.

namespace orvane::renderer {

inline constexpr int kSmallestSide = 16;
inline constexpr int kLargestSide = 4096;

// The power of two nearest to side (ties go up), within kSmallestSide..largest.
int powerOfTwoSide(int side, int largest = 1024);

// True for a power of two within kSmallestSide..kLargestSide.
bool validSide(int side);

}  // namespace orvane::renderer
