#pragma once

// Reads the user's PNG or JPEG picture straight into the size the tunnel wants, a few rows at
// a time, so that a large picture costs little memory; a damaged or cut-off one is refused.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace orvane::renderer {

// The largest picture read: its size is checked before any pixel is decoded.
struct PictureLimits {
  std::uint64_t side = 65535;
  std::uint64_t pixels = 400'000'000;
  // An interlaced PNG up to this many pixels is decoded whole; a larger one from its last
  // pass alone (every second row at full width), which needs no more than a row in memory.
  std::uint64_t wholeInterlaced = 16'000'000;
};

// RGB pixels, top row first, three bytes each.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
};

// Given the picture's upright width and height, the upright size to scale it to.
using ChooseSize = std::function<void(int width, int height, int& outWidth, int& outHeight)>;

// Reads a PNG or JPEG from file into picture, upright and scaled. Gives "" when it was read,
// else why not, as one line without the file's name.
std::string decodePicture(std::FILE* file, const ChooseSize& choose, Picture& picture,
                          const PictureLimits& limits = {});

// "" when a picture of width × height is within the limits, else a line naming both.
std::string sizeError(std::uint64_t width, std::uint64_t height, const PictureLimits& limits);

// The line for a picture its decoder reported as damaged or incomplete.
std::string damagedError(const char* detail);

}  // namespace orvane::renderer
