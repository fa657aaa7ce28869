// The picture reader on files built byte by byte, good and bad, and on files ImageMagick
// writes. This program is built with AddressSanitizer and UndefinedBehaviorSanitizer, so a
// read or write outside a buffer fails it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <tuple>

#include "renderer/sgi_image.h"
#include "tests/support/child.h"
#include "tests/support/temp_folder.h"

namespace orvane::renderer {
namespace {

using orvane::testing::ReadBytes;
using Bytes = std::vector<std::uint8_t>;
using Rgba = std::array<int, 4>;

void putLong(Bytes& b, std::size_t at, std::uint32_t v) {
  if (b.size() < at + 4) b.resize(at + 4);
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// A 512-byte header: magic, storage, one byte per channel, dimension 3, the three sizes.
Bytes sgiHeader(unsigned storage, unsigned xsize, unsigned ysize, unsigned zsize) {
  Bytes b(512, 0);
  const unsigned words[] = {474, storage << 8 | 1, 3, xsize, ysize, zsize};
  for (int i = 0; i < 6; ++i) {
    b[2 * i] = static_cast<std::uint8_t>(words[i] >> 8);
    b[2 * i + 1] = static_cast<std::uint8_t>(words[i]);
  }
  return b;
}

// The reader's pixel at (x, y), rows counted as stored (bottom row first).
Rgba pixel(const TextureImage& image, int x, int y) {
  const std::uint8_t* p = image.pixels.get() + (static_cast<std::size_t>(y) * image.width + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

// R, G, B, A as the reader makes them of zsize channels, given channel z's byte s(z).
template <typename Sample>
Rgba rgbaOf(unsigned zsize, Sample s) {
  const bool grey = zsize < 3;  // grey and alpha, or red, green, blue and alpha
  return {s(0), s(grey ? 0 : 1), s(grey ? 0 : 2), zsize % 2 && zsize < 5 ? 255 : s(grey ? 1 : 3)};
}

class ReaderTest : public ::testing::Test {
 protected:
  void writeBytes(const std::string& path, const Bytes& bytes) {
    orvane::testing::WriteBytes(path, std::string(bytes.begin(), bytes.end()));
  }
  TextureImage load(const Bytes& bytes) {
    writeBytes(path_, bytes);
    return loadTextureImage(path_.c_str());
  }
  // Runs a command in the test's folder: its exit code and what it wrote.
  std::pair<int, std::string> run(const std::string& command) {
    return orvane::testing::RunShell("cd '" + folder_.path() + "' && " + command + " 2>&1");
  }
  orvane::testing::TempFolder folder_;
  const std::string path_ = folder_ / "picture.image";
};

// The pictures below are 6 pixels wide. Verbatim, the byte of channel z at (x, y) is
// sample(x, y, z), never 0, so zeros show missing data.
constexpr unsigned kWidth = 6;
std::uint8_t sample(unsigned x, unsigned y, unsigned z) {
  return static_cast<std::uint8_t>(1 + x + 8 * y + 64 * z);
}
// Run-length, every row is a literal packet of two bytes and a run packet of four.
std::uint8_t rleSample(unsigned x, unsigned y, unsigned z) {
  return x < 2 ? sample(x, y, z) : static_cast<std::uint8_t>(200 + y + 10 * z);
}

Bytes verbatimFile(unsigned ysize, unsigned zsize) {
  Bytes b = sgiHeader(0, kWidth, ysize, zsize);
  for (unsigned z = 0; z < zsize; ++z)
    for (unsigned y = 0; y < ysize; ++y)
      for (unsigned x = 0; x < kWidth; ++x) b.push_back(sample(x, y, z));
  return b;
}

// The rows are stored in the reverse of table order, ending alternately with 0x80 and 0x00.
Bytes rleFile(unsigned ysize, unsigned zsize) {
  const std::size_t rows = std::size_t{ysize} * zsize;
  Bytes b = sgiHeader(1, kWidth, ysize, zsize);
  b.resize(512 + rows * 8);
  for (std::size_t n = rows; n-- > 0;) {
    const unsigned y = n % ysize, z = static_cast<unsigned>(n / ysize);
    putLong(b, 512 + n * 4, static_cast<std::uint32_t>(b.size()));
    putLong(b, 512 + (rows + n) * 4, 6);
    b.insert(b.end(), {0x82, sample(0, y, z), sample(1, y, z), 4, rleSample(2, y, z),
                       static_cast<std::uint8_t>(n % 2 ? 0x80 : 0x00)});
  }
  return b;
}

// A cut file keeps the bytes read and zeros for the rest, once it holds its row tables
// (run-length) or one channel plane (verbatim); a file shorter than that is not decoded.
TEST_F(ReaderTest, EveryChannelCountVerbatimAndRunLengthWholeAndCutAfterEveryByte) {
  for (unsigned zsize = 1; zsize <= 5; ++zsize)
    for (const bool isRle : {false, true}) {
      Bytes whole = isRle ? rleFile(3, zsize) : verbatimFile(3, zsize);
      // Any storage byte but 1 means verbatim; the bytes-per-channel byte is ignored.
      whole[2] = isRle ? 1 : zsize % 2 * 7;
      whole[3] = 2;
      // Four channels are cut after every byte; the others are read whole.
      for (std::size_t size = zsize == 4 ? 0 : whole.size(); size <= whole.size(); ++size) {
        SCOPED_TRACE(std::to_string(zsize) + (isRle ? " channels RLE, " : " channels, first ") +
                     std::to_string(size) + " bytes");
        const TextureImage image = load(Bytes(whole.begin(), whole.begin() + size));
        ASSERT_EQ(image.error, ImageError::none);
        // 3 rows × zsize channels × two 4-byte entries, or one plane of 6 × 3 bytes.
        const std::size_t needed = 512 + (isRle ? 3 * zsize * 8 : 18);
        ASSERT_EQ(image.pixels == nullptr, size < needed);
        if (size < needed) continue;
        ASSERT_EQ(std::pair(image.width, image.height), std::pair(6, 3));
        for (unsigned y = 0; y < 3; ++y)
          for (unsigned x = 0; x < kWidth; ++x) {
            const Rgba want = rgbaOf(
                zsize, [&](unsigned z) { return isRle ? rleSample(x, y, z) : sample(x, y, z); });
            const Rgba got = pixel(image, x, y);
            for (int c = 0; c < 4; ++c)
              ASSERT_TRUE(got[c] == want[c] || (size < whole.size() && got[c] == 0))
                  << x << "," << y << " channel " << c << ": " << got[c];
          }
      }
    }
}

// Pictures of several megabytes, larger than any read-ahead: rows stored channel after channel
// or row after row, verbatim or run-length, with a file cut in the middle of a row.
TEST_F(ReaderTest, BigPicturesDecodeWholeInEveryStorageOrder) {
  constexpr unsigned kW = 1500, kH = 500, kZ = 4;
  const auto value = [](unsigned x, unsigned y, unsigned z) {
    return static_cast<std::uint8_t>(x < 2 ? x + y + 3 * z
                                           : (x / 50 * 7 + y * 3 + z * 60) % 251 + 1);
  };
  Bytes verbatim = sgiHeader(0, kW, kH, kZ);
  for (unsigned z = 0; z < kZ; ++z)
    for (unsigned y = 0; y < kH; ++y)
      for (unsigned x = 0; x < kW; ++x) verbatim.push_back(value(x, y, z));
  // Two literal bytes, then runs that end at every multiple of 50.
  const auto rle = [&](bool rowAfterRow) {
    const std::size_t rows = kH * kZ;
    Bytes b = sgiHeader(1, kW, kH, kZ);
    b.resize(512 + rows * 8);
    for (unsigned outer = 0; outer < (rowAfterRow ? kH : kZ); ++outer)
      for (unsigned inner = 0; inner < (rowAfterRow ? kZ : kH); ++inner) {
        const unsigned y = rowAfterRow ? outer : inner, z = rowAfterRow ? inner : outer;
        const std::size_t index = y + std::size_t{z} * kH, start = b.size();
        b.insert(b.end(), {0x82, value(0, y, z), value(1, y, z)});
        for (unsigned x = 2; x < kW; x = (x / 50 + 1) * 50)
          b.insert(b.end(), {std::uint8_t(std::min((x / 50 + 1) * 50, kW) - x), value(x, y, z)});
        b.push_back(0);
        putLong(b, 512 + index * 4, static_cast<std::uint32_t>(start));
        putLong(b, 512 + (rows + index) * 4, static_cast<std::uint32_t>(b.size() - start));
      }
    return b;
  };
  Bytes cut = verbatim;
  cut.resize(512 + std::size_t{kW} * (kH * 3 + 200) + 700);  // channel 3 ends inside row 200
  for (const auto& [name, bytes] : {std::pair{"verbatim", verbatim},
                                    {"cut", cut},
                                    {"RLE by channel", rle(false)},
                                    {"RLE by row", rle(true)}}) {
    const TextureImage image = load(bytes);
    ASSERT_NE(image.pixels, nullptr) << name;
    int mismatches = 0;
    for (unsigned y = 0; y < kH; ++y)
      for (unsigned x = 0; x < kW; ++x) {
        Rgba want = {value(x, y, 0), value(x, y, 1), value(x, y, 2), value(x, y, 3)};
        if (std::string(name) == "cut" && (y > 200 || (y == 200 && x >= 700))) want[3] = 0;
        mismatches += pixel(image, x, y) != want;
      }
    EXPECT_EQ(mismatches, 0) << name;
  }
}

TEST(RleRowTest, PacketsStopAtCountZeroDataEndOrRowEnd) {
  const std::tuple<const char*, Bytes, std::size_t, Bytes> cases[] = {
      {"0x80 ends the row", {0x01, 5, 0x80, 0x02, 7}, 4, {5, 0, 0, 0}},
      {"run longer than the row", {0x7F, 4, 0x00}, 3, {4, 4, 4}},
      {"literal longer than the row", {0x85, 1, 2, 3, 4, 5}, 2, {1, 2}},
      {"no terminator", {0x02, 6}, 3, {6, 6, 0}}};
  for (const auto& [name, packed, width, row] : cases) {
    // One guard byte either side: the decoder must write exactly width bytes.
    Bytes out(width + 2, 0xEE);
    decodeRleRow(packed.data(), packed.size(), out.data() + 1, width);
    EXPECT_EQ(Bytes(out.begin() + 1, out.end() - 1), row) << name;
    EXPECT_EQ(out.front() + out.back(), 2 * 0xEE) << name;
  }
}

TEST_F(ReaderTest, SizesWhoseByteCountsOverflowAreRefusedBeforeAllocating) {
  // 32768 × 16384 × 4 is 2^31, one more than a signed 32-bit integer holds.
  const unsigned sizes[][3] = {
      {65535, 65535, 3}, {32768, 16384, 1}, {1, 16384, 32768}, {1, 65535, 65535}};
  for (const auto [x, y, z] : sizes)
    for (unsigned storage : {0, 1}) {
      writeBytes(path_, sgiHeader(storage, x, y, z));
      OpenResult opened = openImageFile(path_.c_str());
      EXPECT_EQ(opened.error, ImageError::tooLarge) << x << "x" << y << "x" << z;
      ASSERT_NE(opened.file, nullptr);
      EXPECT_TRUE(opened.file->rowStart.empty());
      closeImageFile(std::move(opened.file));
    }
}

TEST_F(ReaderTest, BadTablesGiveZerosOrClippedRowsAndCostNoMemory) {
  Bytes none = sgiHeader(1, 4, 2, 0);
  none.insert(none.end(), 64, 0x7F);  // garbage offsets, if zsize 0 read a table entry
  EXPECT_EQ(pixel(load(none), 3, 1), (Rgba{0, 0, 0, 255}));

  Bytes b = rleFile(2, 1);
  putLong(b, 512 + 0 * 4, 0xFFFFFFF0u);  // row 0 starts far past the end
  putLong(b, 512 + 3 * 4, 0xFFFFFFFFu);  // row 1 claims 4 GiB, more than the row buffer
  const TextureImage image = load(b);
  for (unsigned x = 0; x < kWidth; ++x) {
    EXPECT_EQ(pixel(image, x, 0), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(pixel(image, x, 1)[0], rleSample(x, 1, 0));
  }
}

// A few bytes declaring a big picture cost nothing: 16000 × 30000 entries would be two tables
// of 1.9 GB, 16384 × 16384 pixels 1 GiB of output. Such files are left undecoded.
TEST_F(ReaderTest, FilesTooShortForTheirTablesOrOnePlaneAreNotDecoded) {
  Bytes tall = sgiHeader(1, 1, 16000, 30000);
  putLong(tall, 520, 0);
  writeBytes(path_, tall);
  OpenResult opened = openImageFile(path_.c_str());
  ASSERT_EQ(opened.error, ImageError::none);
  EXPECT_EQ(opened.file->rowStart.size() + opened.file->rowLength.size(), 0u);
  const TextureImage cut = loadTextureImage(*opened.file);
  EXPECT_EQ(cut.error, ImageError::none);
  EXPECT_EQ(cut.pixels, nullptr);
  closeImageFile(std::move(opened.file));

  // zsize 0 still reads channel 0, so it needs that channel's tables or plane too.
  for (const unsigned storage : {0, 1})
    for (const unsigned zsize : {0, 1, 3, 4}) {
      const TextureImage image = load(sgiHeader(storage, 16384, 16384, zsize));
      EXPECT_EQ(image.error, ImageError::none);
      EXPECT_EQ(image.pixels, nullptr) << storage << " " << zsize;
    }
}

// The size is put to the caller before anything is decoded; a refused one is left undecoded.
TEST_F(ReaderTest, ACallerRefusingTheSizeGetsNoPixels) {
  writeBytes(path_, verbatimFile(3, 4));
  std::pair<int, int> asked;
  const TextureImage refused = loadTextureImage(path_.c_str(), [&](int w, int h) {
    asked = {w, h};
    return false;
  });
  EXPECT_EQ(asked, std::pair(6, 3));
  EXPECT_EQ(refused.error, ImageError::none);
  EXPECT_EQ(refused.pixels, nullptr);
}

TEST_F(ReaderTest, ImageMagickFilesDecodeToTheSourcePixels) {
  // Wide enough for runs and literal stretches longer than one packet holds (127 bytes).
  constexpr unsigned kWidth = 300, kHeight = 23;
  const char* tuple[] = {"", "GRAYSCALE", "GRAYSCALE_ALPHA", "RGB", "RGB_ALPHA"};
  for (unsigned channels = 1; channels <= 4; ++channels) {
    // Flat stretches (run packets) and busy ones (literal packets), every channel different.
    const std::string header = "P7\nWIDTH 300\nHEIGHT 23\nDEPTH " + std::to_string(channels) +
                               "\nMAXVAL 255\nTUPLTYPE " + tuple[channels] + "\nENDHDR\n";
    Bytes pam(header.begin(), header.end());
    for (unsigned y = 0; y < kHeight; ++y)
      for (unsigned x = 0; x < kWidth; ++x)
        for (unsigned z = 0; z < channels; ++z)
          pam.push_back(x < 140 || y % 5 == 0 ? 40 * z + y : (x * 7 + y * 13 + z * 51) % 256);
    const std::uint8_t* source = pam.data() + header.size();
    writeBytes(folder_ / "source.pam", pam);
    for (const std::string compression : {"RLE", "None"}) {
      SCOPED_TRACE(std::to_string(channels) + " channels, " + compression);
      const auto [code, out] =
          run("/usr/bin/convert source.pam -depth 8 -compress " + compression + " m.sgi");
      ASSERT_EQ(code, 0) << out;
      EXPECT_EQ(ReadBytes(folder_ / "m.sgi").at(2), compression == "RLE");
      const TextureImage image = loadTextureImage((folder_ / "m.sgi").c_str());
      ASSERT_EQ(std::pair(image.width, image.height), std::pair(300, 23));
      int mismatches = 0;  // SGI files keep the bottom row first
      for (unsigned y = 0; y < kHeight; ++y)
        for (unsigned x = 0; x < kWidth; ++x)
          mismatches += pixel(image, x, kHeight - 1 - y) != rgbaOf(channels, [&](unsigned z) {
                          return source[(y * kWidth + x) * channels + z];
                        });
      EXPECT_EQ(mismatches, 0);
    }
  }
}

}  // namespace
}  // namespace orvane::renderer