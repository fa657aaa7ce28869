// Feeds arbitrary bytes to the picture reader as if they were Orvane.image.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "renderer/sgi_image.h"

namespace {

// A header word as the reader sees it: bytes past the end of the data count as zeros.
std::uint64_t word(const std::uint8_t* data, std::size_t size, std::size_t at) {
  const std::uint64_t high = at < size ? data[at] : 0;
  const std::uint64_t low = at + 1 < size ? data[at + 1] : 0;
  return (high << 8) | low;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Sizes the reader accepts but that would only make the run slow: up to 2 GiB of pixels
  // for a file of a few bytes. Refused sizes still go through; the row tables need no
  // limit, since the reader keeps only the entries the file holds.
  const std::uint64_t x = word(data, size, 6), y = word(data, size, 8), z = word(data, size, 10);
  const bool accepted = x * y * 4 <= INT32_MAX && y * z * 4 <= INT32_MAX;
  if (accepted && x * y > (1u << 18)) return 0;

  std::FILE* stream =
      size > 0 ? fmemopen(const_cast<std::uint8_t*>(data), size, "rb") : std::tmpfile();
  if (stream == nullptr) return 0;
  orvane::renderer::OpenResult opened = orvane::renderer::openImageStream(stream);
  if (opened.error == orvane::renderer::ImageError::none) {
    const orvane::renderer::TextureImage image = orvane::renderer::loadTextureImage(*opened.file);
    // Touch every pixel so that a short buffer shows.
    volatile std::uint8_t sum = 0;
    const std::size_t bytes = std::size_t(image.width) * image.height * 4;
    for (std::size_t i = 0; image.pixels && i < bytes; i += 61) sum = sum + image.pixels[i];
  }
  orvane::renderer::closeImageFile(std::move(opened.file));
  std::fclose(stream);
  return 0;
}
