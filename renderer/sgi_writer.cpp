#include "renderer/sgi_writer.h"

#include <algorithm>
#include <cstring>

namespace orvane::renderer {
namespace {

constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kLongestPacket = 127;

void putShort(std::vector<std::uint8_t>& out, std::size_t at, unsigned value) {
  out[at] = static_cast<std::uint8_t>(value >> 8);
  out[at + 1] = static_cast<std::uint8_t>(value);
}

void putLong(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// True when a run of at least three equal bytes starts at i: shorter runs cost more as run
// packets than as part of a literal packet.
bool runStarts(const std::uint8_t* row, std::size_t width, std::size_t i) {
  return i + 2 < width && row[i] == row[i + 1] && row[i] == row[i + 2];
}

}  // namespace

void encodeRleRow(const std::uint8_t* row, std::size_t width, std::vector<std::uint8_t>& out) {
  std::size_t i = 0;
  while (i < width) {
    if (runStarts(row, width, i)) {
      std::size_t end = i;
      while (end < width && end - i < kLongestPacket && row[end] == row[i]) ++end;
      out.push_back(static_cast<std::uint8_t>(end - i));
      out.push_back(row[i]);
      i = end;
    } else {
      const std::size_t start = i;
      while (i < width && i - start < kLongestPacket && !runStarts(row, width, i)) ++i;
      out.push_back(static_cast<std::uint8_t>(0x80 | (i - start)));
      out.insert(out.end(), row + start, row + i);
    }
  }
  out.push_back(0);
}

std::vector<std::uint8_t> encodeSgi(const std::uint8_t* pixels, unsigned width, unsigned height,
                                    unsigned channels, SgiStorage storage) {
  std::vector<std::uint8_t> out(kHeaderSize, 0);
  putShort(out, 0, 474);
  out[2] = storage == SgiStorage::runLength ? 1 : 0;
  out[3] = 1;
  putShort(out, 4, channels > 1 ? 3 : (height > 1 ? 2 : 1));
  putShort(out, 6, width);
  putShort(out, 8, height);
  putShort(out, 10, channels);
  putLong(out, 12, 0);    // smallest pixel value
  putLong(out, 16, 255);  // largest pixel value
  std::memcpy(&out[24], "Orvane", 6);

  std::vector<std::uint8_t> row(width);
  auto gatherRow = [&](unsigned y, unsigned z) {
    const std::uint8_t* source = pixels + (std::size_t{y} * width) * channels + z;
    for (unsigned x = 0; x < width; ++x) row[x] = source[std::size_t{x} * channels];
  };

  if (storage == SgiStorage::verbatim) {
    out.reserve(kHeaderSize + std::size_t{width} * height * channels);
    for (unsigned z = 0; z < channels; ++z) {
      for (unsigned y = 0; y < height; ++y) {
        gatherRow(y, z);
        out.insert(out.end(), row.begin(), row.end());
      }
    }
    return out;
  }

  const std::size_t rows = std::size_t{height} * channels;
  const std::size_t tables = kHeaderSize;
  out.resize(kHeaderSize + rows * 8, 0);
  for (unsigned z = 0; z < channels; ++z) {
    for (unsigned y = 0; y < height; ++y) {
      const std::size_t index = y + std::size_t{z} * height;
      gatherRow(y, z);
      const std::size_t start = out.size();
      encodeRleRow(row.data(), width, out);
      putLong(out, tables + index * 4, static_cast<std::uint32_t>(start));
      putLong(out, tables + (rows + index) * 4, static_cast<std::uint32_t>(out.size() - start));
    }
  }
  return out;
}

}  // namespace orvane::renderer
