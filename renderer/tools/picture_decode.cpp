#include "renderer/tools/picture_decode.h"

#include <cerrno>
#include <cstring>

#include "renderer/tools/jpeg_picture.h"
#include "renderer/tools/png_picture.h"

namespace orvane::renderer {

namespace {

std::string amount(std::uint64_t n) {
  return n % 1'000'000 == 0 ? std::to_string(n / 1'000'000) + " million" : std::to_string(n);
}

}  // namespace

std::string sizeError(std::uint64_t width, std::uint64_t height, const PictureLimits& limits) {
  if (width > 0 && height > 0 && width <= limits.side && height <= limits.side &&
      width * height <= limits.pixels)
    return "";
  return "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
         " pixels; at most " + std::to_string(limits.side) + " pixels on a side and " +
         amount(limits.pixels) + " pixels in all are read";
}

std::string damagedError(const char* detail) {
  return std::string("the picture is damaged or incomplete (") + detail + ")";
}

std::string decodePicture(std::FILE* file, const ChooseSize& choose, Picture& picture,
                          const PictureLimits& limits) {
  unsigned char start[8] = {};
  const std::size_t got = std::fread(start, 1, sizeof start, file);
  if (got < sizeof start && std::ferror(file))
    return std::string("cannot read it: ") + std::strerror(errno);
  if (std::fseek(file, 0, SEEK_SET) != 0)
    return std::string("cannot read it: ") + std::strerror(errno);
  static const unsigned char png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (got == sizeof start && std::memcmp(start, png, sizeof png) == 0)
    return decodePng(file, choose, picture, limits);
  if (got >= 3 && start[0] == 0xff && start[1] == 0xd8 && start[2] == 0xff)
    return decodeJpeg(file, choose, picture, limits);
  return "not a PNG or JPEG picture (only these two are read)";
}

}  // namespace orvane::renderer
