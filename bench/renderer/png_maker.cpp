#include "bench/renderer/png_maker.h"

#include <zlib.h>

#include <cstring>
#include <vector>

namespace orvane::bench {

namespace {

void putLong(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(v >> shift));
}

void chunk(std::string& out, const char* type, const std::string& data) {
  putLong(out, static_cast<std::uint32_t>(data.size()));
  const std::string typed = type + data;
  out += typed;
  putLong(out, static_cast<std::uint32_t>(
                   crc32(0, reinterpret_cast<const Bytef*>(typed.data()), typed.size())));
}

std::string header(std::uint32_t width, std::uint32_t height) {
  std::string ihdr;
  putLong(ihdr, width);
  putLong(ihdr, height);
  ihdr += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, plain
  std::string out = "\x89PNG\r\n\x1a\n";
  chunk(out, "IHDR", ihdr);
  return out;
}

}  // namespace

std::string MakePng(std::uint32_t width, std::uint32_t height, const PngRow& row) {
  z_stream z{};
  deflateInit2(&z, 1, Z_DEFLATED, 15, 9, Z_RLE);
  std::string compressed;
  // A row like the one above is stored as filter "Up" and all zeros, which compress fastest.
  std::vector<std::uint8_t> line(1 + std::size_t{width} * 3), same(line.size(), 0);
  same[0] = 2;
  std::vector<std::uint8_t> buffer(1 << 16);
  const std::uint8_t* previous = nullptr;
  for (std::uint32_t y = 0; y <= height; ++y) {
    const bool end = y == height;
    const std::uint8_t* pixels = end ? nullptr : row(y);
    const bool repeated = !end && pixels == previous;
    if (!end && !repeated) std::memcpy(line.data() + 1, pixels, line.size() - 1);
    previous = pixels;
    z.next_in = repeated ? same.data() : line.data();
    z.avail_in = end ? 0 : static_cast<uInt>(line.size());
    do {
      z.next_out = buffer.data();
      z.avail_out = static_cast<uInt>(buffer.size());
      deflate(&z, end ? Z_FINISH : Z_NO_FLUSH);
      compressed.append(reinterpret_cast<char*>(buffer.data()), buffer.size() - z.avail_out);
    } while (z.avail_out == 0);
  }
  deflateEnd(&z);
  std::string out = header(width, height);
  chunk(out, "IDAT", compressed);
  chunk(out, "IEND", "");
  return out;
}

}  // namespace orvane::bench
