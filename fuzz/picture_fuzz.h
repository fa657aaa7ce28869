#pragma once

// What the picture tool's two decoder fuzzers share: the bytes as a file, limits that keep a
// run quick, and an output size that shrinks one side and grows the other.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "renderer/tools/picture_decode.h"

namespace orvane::fuzz {

template <typename Decode>
int DecodeBytes(const std::uint8_t* data, std::size_t size, Decode decode) {
  std::FILE* file =
      size > 0 ? fmemopen(const_cast<std::uint8_t*>(data), size, "rb") : std::tmpfile();
  if (file == nullptr) return 0;
  renderer::PictureLimits limits;
  limits.side = 4096;
  limits.pixels = 1 << 20;
  limits.wholeInterlaced = 1 << 12;
  renderer::Picture picture;
  const std::string error = decode(
      file,
      [](int w, int h, int& outWidth, int& outHeight) {
        outWidth = 1 + w / 3;
        outHeight = 1 + (h < 150 ? h * 2 : h / 4);
      },
      picture, limits);
  std::fclose(file);
  if (error.empty()) {
    // Touch every byte so that a short buffer shows.
    volatile std::uint8_t sum = 0;
    if (picture.rgb.size() != std::size_t(picture.width) * picture.height * 3) __builtin_trap();
    for (const std::uint8_t b : picture.rgb) sum = sum + b;
  }
  return 0;
}

}  // namespace orvane::fuzz
