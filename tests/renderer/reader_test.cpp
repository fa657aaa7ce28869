#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <tuple>

#include "renderer/sgi_image.h"
#include "tests/support/temp_folder.h"

namespace orvane::renderer {
namespace {

using Bytes = std::string;
using Rgba = std::array<int, 4>;

void putLong(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (24 - 8 * i));
}

// A 512-byte header: magic, storage, one byte per channel, dimension 3, the three sizes.
Bytes header(unsigned storage, unsigned xsize, unsigned ysize, unsigned zsize) {
  Bytes b(512, '\0');
  const unsigned words[] = {474, storage << 8 | 1, 3, xsize, ysize, zsize};
  for (int i = 0; i < 6; ++i) b[2 * i] = char(words[i] >> 8), b[2 * i + 1] = char(words[i]);
  return b;
}

// The reader's pixel at (x, y), rows counted as stored (bottom row first).
Rgba pixel(const TextureImage& image, int x, int y) {
  const std::uint8_t* p = image.pixels.get() + (std::size_t(y) * image.width + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

// Never 0, so zeros show missing data; constant from x = 2 to each multiple of 50.
int value(unsigned x, unsigned y, unsigned z) {
  return (x < 2 ? x + 3 * y + 64 * z : 100 + x / 50 * 7 + y * 5 + z * 60) % 251 + 1;
}

// Verbatim, or run-length: each row a literal packet of two bytes and runs to multiples of 50.
Bytes sgiFile(bool rle, unsigned w, unsigned h, unsigned zsize, bool rowAfterRow = false) {
  Bytes b = header(rle, w, h, zsize);
  const std::size_t rows = std::size_t{h} * zsize;
  if (rle) b.resize(512 + rows * 8);
  for (std::size_t i = 0; i < rows; ++i) {
    const unsigned y = rowAfterRow ? i / zsize : i % h, z = rowAfterRow ? i % zsize : i / h;
    const std::size_t index = y + std::size_t{z} * h, start = b.size();
    if (!rle) {
      for (unsigned x = 0; x < w; ++x) b += char(value(x, y, z));
      continue;
    }
    b += {'\x82', char(value(0, y, z)), char(value(1, y, z))};
    for (unsigned x = 2; x < w; x = (x / 50 + 1) * 50)
      b += {char(std::min((x / 50 + 1) * 50, w) - x), char(value(x, y, z))};
    b += index % 2 ? '\x80' : '\0';  // either ends a row
    putLong(b, 512 + index * 4, std::uint32_t(start));
    putLong(b, 512 + (rows + index) * 4, std::uint32_t(b.size() - start));
  }
  return b;
}

class ReaderTest : public ::testing::Test {
 protected:
  TextureImage load(const Bytes& bytes, const SizeCheck& accepts = {}) {
    orvane::testing::WriteBytes(path_, bytes);
    return loadTextureImage(path_.c_str(), accepts);
  }
  orvane::testing::TempFolder folder_;
  const std::string path_ = folder_ / "picture.image";
};

// A cut file keeps its bytes and zeros for the rest, once it holds its row tables or one plane.
TEST_F(ReaderTest, EveryChannelCountAndStorageWholeOrCut) {
  const std::tuple<unsigned, unsigned, unsigned, bool, bool> shapes[] = {
      {6, 3, 1, 0, 0},      {6, 3, 2, 1, 0},     {6, 3, 3, 0, 0}, {6, 3, 4, 0, 0},
      {6, 3, 4, 1, 0},      {6, 3, 5, 1, 0},     {6, 3, 5, 0, 0}, {1500, 500, 4, 0, 0},
      {1500, 500, 4, 1, 0}, {1500, 500, 4, 1, 1}};
  for (const auto& [w, h, zsize, rle, rowAfterRow] : shapes) {
    Bytes whole = sgiFile(rle, w, h, zsize, rowAfterRow);
    const std::size_t needed = 512 + (rle ? h * zsize * 8 : w * h);
    std::vector<std::size_t> sizes = {whole.size()};
    if (zsize == 4 && w == 6)
      for (std::size_t size = 0; size < whole.size(); ++size) sizes.push_back(size);
    if (w == 1500 && !rle) sizes.push_back(512 + w * (h * 3 + 200) + 700);  // inside a row
    for (const std::size_t size : sizes) {
      SCOPED_TRACE(::testing::Message() << w << "x" << h << "x" << zsize << " RLE " << rle
                                        << " by row " << rowAfterRow << ", " << size << " bytes");
      const TextureImage image = load(whole.substr(0, size));
      ASSERT_EQ(image.error, ImageError::none);
      ASSERT_EQ(image.pixels == nullptr, size < needed);
      if (size < needed) continue;
      ASSERT_EQ(std::pair(image.width, image.height), std::pair(int(w), int(h)));
      int mismatches = 0;
      for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x) {
          // Verbatim, exactly the bytes the file holds; run-length, each byte or a zero.
          const auto held = [&](unsigned z) {
            return rle || 512 + (z * h + y) * w + x < size ? value(x, y, z) : 0;
          };
          // Grey and alpha, or red, green, blue and alpha; an odd channel count, opaque.
          const bool grey = zsize < 3;
          const Rgba got = pixel(image, x, y),
                     want = {held(0), held(grey ? 0 : 1), held(grey ? 0 : 2),
                             zsize % 2 && zsize < 5 ? 255 : held(grey ? 1 : 3)};
          for (int c = 0; c < 4; ++c)
            mismatches += got[c] != want[c] && !(rle && size < whole.size() && got[c] == 0);
        }
      EXPECT_EQ(mismatches, 0);
    }
  }
}

TEST(RleRowTest, PacketsStopAtCountZeroDataEndOrRowEnd) {
  const std::tuple<const char*, Bytes, std::size_t, Bytes> cases[] = {
      {"0x80 ends the row", {1, 5, '\x80', 2, 7}, 4, {5, 0, 0, 0}},
      {"run longer than the row", {0x7F, 4, 0}, 3, {4, 4, 4}},
      {"literal longer than the row", {'\x85', 1, 2, 3, 4, 5}, 2, {1, 2}},
      {"literal longer than the data", {'\x85', 1, 2}, 3, {1, 2, 0}},
      {"no terminator", {2, 6}, 3, {6, 6, 0}},
      {"a count with no byte", {2}, 2, {0, 0}}};
  for (const auto& [name, packed, width, row] : cases) {
    // Exactly the packed bytes, and a guard byte either side of the row.
    const std::vector<std::uint8_t> in(packed.begin(), packed.end());
    Bytes out(width + 2, '\xEE');
    decodeRleRow(in.data(), in.size(), reinterpret_cast<std::uint8_t*>(out.data() + 1), width);
    EXPECT_EQ(out, '\xEE' + row + '\xEE') << name;
  }
}

// Sizes that overflow 32-bit byte counts are refused; a few bytes that declare 1.9 GB of tables
// or 1 GiB of pixels, or bad table entries, cost nothing.
TEST_F(ReaderTest, OversizedOrShortFilesAndNoFilesGiveNoPixels) {
  const std::tuple<Bytes, ImageError> cases[] = {
      {header(0, 65535, 65535, 3), ImageError::tooLarge},  // 2^34 bytes of pixels
      {header(1, 1, 16384, 32768), ImageError::tooLarge},  // 2^31 bytes of table
      {header(1, 1, 16000, 30000), ImageError::none},
      {header(0, 16384, 16384, 3), ImageError::none},
      {header(1, 16384, 16384, 0), ImageError::none},  // zsize 0 still reads channel 0
  };
  for (const auto& [bytes, error] : cases) {
    orvane::testing::WriteBytes(path_, bytes);
    OpenResult opened = openImageFile(path_.c_str());
    SCOPED_TRACE(std::to_string(opened.file->xsize) + "x" + std::to_string(opened.file->ysize) +
                 "x" + std::to_string(opened.file->zsize));
    EXPECT_EQ(opened.error, error);
    EXPECT_EQ(opened.file->rowStart.size() + opened.file->rowLength.size(), 0u);
    EXPECT_EQ(loadTextureImage(*opened.file).pixels, nullptr);
    closeImageFile(std::move(opened.file));
  }
  // Table entries past the end, or longer than any row, give zeros or a clipped row.
  Bytes b = sgiFile(true, 6, 2, 1);
  putLong(b, 512, 0xFFFFFFF0u);       // row 0 starts far past the end
  putLong(b, 512 + 12, 0xFFFFFFFFu);  // row 1 claims 4 GiB
  const TextureImage image = load(b);
  EXPECT_EQ(pixel(image, 5, 0), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(pixel(image, 5, 1), (Rgba{value(5, 1, 0), value(5, 1, 0), value(5, 1, 0), 255}));
  // The size is put to the caller first; a refused one is left undecoded.
  std::pair<int, int> asked;
  const TextureImage refused = load(sgiFile(false, 6, 3, 4), [&](int w, int h) {
    asked = {w, h};
    return false;
  });
  EXPECT_EQ(asked, std::pair(6, 3));
  EXPECT_EQ(refused.pixels, nullptr);
  // A directory, or a FIFO that would block a reader, is refused with EISDIR or ESPIPE.
  std::filesystem::create_directory(folder_ / "folder");
  EXPECT_EQ(loadTextureImage((folder_ / "folder").c_str()).osError, 21);
#ifndef _WIN32
  ASSERT_EQ(mkfifo((folder_ / "fifo").c_str(), 0600), 0);
  EXPECT_EQ(loadTextureImage((folder_ / "fifo").c_str()).osError, 29);
#endif
}

}  // namespace
}  // namespace orvane::renderer
