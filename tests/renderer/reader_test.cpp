// The picture reader on files built byte by byte, good and bad. This program is built with
// AddressSanitizer and UndefinedBehaviorSanitizer, so a read or write outside a buffer fails it.

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "renderer/sgi_image.h"
#include "tests/renderer/sgi_bytes.h"

namespace orvane::renderer {
namespace {

using testing::Bytes;
using testing::putLong;
using testing::sgiHeader;

using Rgba = std::array<int, 4>;

class ReaderTest : public ::testing::Test {
 protected:
  TextureImage load(const Bytes& bytes) {
    const auto path = folder_ / "picture.image";
    testing::writeBytes(path, bytes);
    return loadTextureImage(path.c_str());
  }
  static Rgba pixel(const TextureImage& image, int x, int y) {
    const std::uint8_t* p =
        image.pixels.get() + (static_cast<std::size_t>(y) * image.width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
  }
  testing::TempFolder folder_;
};

// The byte of channel z at (x, y) in the pictures below; never 0, so zeros show missing data.
std::uint8_t sample(unsigned x, unsigned y, unsigned z) {
  return static_cast<std::uint8_t>(1 + x + 8 * y + 64 * z);
}

Bytes verbatimFile(unsigned xsize, unsigned ysize, unsigned zsize) {
  Bytes b = sgiHeader(0, xsize, ysize, zsize);
  for (unsigned z = 0; z < zsize; ++z)
    for (unsigned y = 0; y < ysize; ++y)
      for (unsigned x = 0; x < xsize; ++x) b.push_back(sample(x, y, z));
  return b;
}

// Every row is one literal packet of two bytes and one run packet; the rows are stored in
// the reverse of table order, and the rows end alternately with 0x80 and 0x00.
constexpr unsigned kRleWidth = 6;
std::uint8_t runValue(unsigned y, unsigned z) {
  return static_cast<std::uint8_t>(200 + y + 10 * z);
}

Bytes rleFile(unsigned ysize, unsigned zsize) {
  const std::size_t rows = std::size_t{ysize} * zsize;
  Bytes b = sgiHeader(1, kRleWidth, ysize, zsize);
  b.resize(512 + rows * 8);
  for (std::size_t n = rows; n-- > 0;) {
    const unsigned y = n % ysize, z = static_cast<unsigned>(n / ysize);
    const std::size_t start = b.size();
    const Bytes row = {0x82, sample(0, y, z), sample(1, y, z),
                       4,    runValue(y, z),  static_cast<std::uint8_t>(n % 2 ? 0x80 : 0x00)};
    b.insert(b.end(), row.begin(), row.end());
    putLong(b, 512 + n * 4, static_cast<std::uint32_t>(start));
    putLong(b, 512 + (rows + n) * 4, static_cast<std::uint32_t>(row.size()));
  }
  return b;
}

std::uint8_t rleSample(unsigned x, unsigned y, unsigned z) {
  return x < 2 ? sample(x, y, z) : runValue(y, z);
}

// R, G, B, A of a pixel by the channel count, given channel z's byte.
template <typename Sample>
Rgba expected(unsigned zsize, Sample s) {
  switch (zsize) {
    case 1:
      return {s(0), s(0), s(0), 255};
    case 2:
      return {s(0), s(0), s(0), s(1)};
    case 3:
      return {s(0), s(1), s(2), 255};
    default:
      return {s(0), s(1), s(2), s(3)};
  }
}

TEST_F(ReaderTest, EveryChannelCountVerbatimAndRunLength) {
  for (unsigned zsize = 1; zsize <= 5; ++zsize) {
    SCOPED_TRACE("zsize " + std::to_string(zsize));
    const TextureImage flat = load(verbatimFile(5, 3, zsize));
    ASSERT_EQ(flat.error, ImageError::none);
    EXPECT_EQ(flat.width, 5);
    EXPECT_EQ(flat.height, 3);
    EXPECT_EQ(flat.channels, static_cast<int>(zsize));
    const TextureImage packed = load(rleFile(3, zsize));
    ASSERT_EQ(packed.error, ImageError::none);
    for (unsigned y = 0; y < 3; ++y) {
      for (unsigned x = 0; x < 5; ++x) {
        EXPECT_EQ(pixel(flat, x, y), expected(zsize, [&](unsigned z) { return sample(x, y, z); }))
            << "verbatim " << x << "," << y;
      }
      for (unsigned x = 0; x < kRleWidth; ++x) {
        EXPECT_EQ(pixel(packed, x, y),
                  expected(zsize, [&](unsigned z) { return rleSample(x, y, z); }))
            << "run-length " << x << "," << y;
      }
    }
  }
}

TEST_F(ReaderTest, StorageOtherThanOneIsVerbatimAndBytesPerChannelIsIgnored) {
  Bytes b = verbatimFile(4, 2, 3);
  b[2] = 7;
  b[3] = 2;
  EXPECT_EQ(pixel(load(b), 3, 1), (Rgba{sample(3, 1, 0), sample(3, 1, 1), sample(3, 1, 2), 255}));
}

TEST(RleRowTest, PacketsStopAtCountZeroDataEndOrRowEnd) {
  struct Case {
    const char* name;
    Bytes packed;
    std::size_t width;
    Bytes row;
  };
  const std::array cases = {
      Case{"literal then run", {0x83, 1, 2, 3, 0x02, 9, 0x00}, 6, {1, 2, 3, 9, 9, 0}},
      Case{"0x80 ends the row", {0x01, 5, 0x80, 0x02, 7}, 4, {5, 0, 0, 0}},
      Case{"run longer than the row", {0x7F, 4, 0x00}, 3, {4, 4, 4}},
      Case{"literal longer than the row", {0x85, 1, 2, 3, 4, 5}, 2, {1, 2}},
      Case{"literal cut by the end of data", {0x01, 8, 0x84, 1, 2}, 6, {8, 1, 2, 0, 0, 0}},
      Case{"run without its value", {0x01, 8, 0x05}, 4, {8, 0, 0, 0}},
      Case{"no terminator", {0x02, 6}, 3, {6, 6, 0}},
      Case{"nothing", {}, 2, {0, 0}},
  };
  for (const Case& c : cases) {
    // One guard byte either side: the decoder must write exactly width bytes.
    Bytes out(c.width + 2, 0xEE);
    decodeRleRow(c.packed.data(), c.packed.size(), out.data() + 1, c.width);
    EXPECT_EQ(Bytes(out.begin() + 1, out.end() - 1), c.row) << c.name;
    EXPECT_EQ(out.front(), 0xEE) << c.name;
    EXPECT_EQ(out.back(), 0xEE) << c.name;
  }
}

TEST_F(ReaderTest, EveryTruncationKeepsTheBytesReadAndZerosTheRest) {
  const Bytes flat = verbatimFile(3, 2, 4);
  const Bytes packed = rleFile(2, 4);
  for (const Bytes* whole : {&flat, &packed}) {
    for (std::size_t size = 0; size < whole->size(); ++size) {
      SCOPED_TRACE("first " + std::to_string(size) + " bytes");
      const TextureImage image = load(Bytes(whole->begin(), whole->begin() + size));
      ASSERT_EQ(image.error, ImageError::none);
      if (size < 12) continue;  // the sizes themselves are cut: only safety counts
      ASSERT_NE(image.pixels, nullptr);
      const bool isRle = whole == &packed;
      for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
          const Rgba channel = pixel(image, x, y);
          for (unsigned z = 0; z < 4; ++z) {
            const int want = isRle ? rleSample(x, y, z) : sample(x, y, z);
            EXPECT_TRUE(channel[z] == want || channel[z] == 0) << x << "," << y << " z" << z;
          }
        }
      }
    }
  }
}

TEST_F(ReaderTest, SizesWhoseByteCountsOverflowAreRefusedBeforeAllocating) {
  struct Case {
    unsigned xsize, ysize, zsize;
  };
  // 32768 × 16384 × 4 is 2^31, one more than a signed 32-bit integer holds.
  for (const Case c : {Case{65535, 65535, 3}, Case{32768, 16384, 1}, Case{1, 16384, 32768},
                       Case{1, 65535, 65535}}) {
    for (int storage : {0, 1}) {
      const auto path = folder_ / "huge.image";
      testing::writeBytes(path, sgiHeader(storage, c.xsize, c.ysize, c.zsize));
      OpenResult opened = openImageFile(path.c_str());
      EXPECT_EQ(opened.error, ImageError::tooLarge) << c.xsize << "x" << c.ysize << "x" << c.zsize;
      ASSERT_NE(opened.file, nullptr);
      EXPECT_TRUE(opened.file->rowBuffer.empty());
      EXPECT_TRUE(opened.file->rowStart.empty());
      closeImageFile(std::move(opened.file));
      EXPECT_EQ(loadTextureImage(path.c_str()).error, ImageError::tooLarge);
    }
  }
}

TEST_F(ReaderTest, RunLengthZeroChannelsReadsNoTableEntry) {
  Bytes b = sgiHeader(1, 4, 2, 0);
  b.insert(b.end(), 64, 0x7F);  // would be garbage offsets if a table were read
  const TextureImage image = load(b);
  ASSERT_EQ(image.error, ImageError::none);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(pixel(image, x, y), (Rgba{0, 0, 0, 255}));
}

TEST_F(ReaderTest, TablesLongerThanTheFileCostNoMemory) {
  // 16000 × 30000 entries would be two tables of 1.9 GB; the file holds three of them.
  Bytes b = sgiHeader(1, 1, 16000, 30000);
  putLong(b, 512, 0);
  putLong(b, 516, 0);
  putLong(b, 520, 0);
  const auto path = folder_ / "tall.image";
  testing::writeBytes(path, b);
  OpenResult opened = openImageFile(path.c_str());
  ASSERT_EQ(opened.error, ImageError::none);
  EXPECT_EQ(opened.file->rowStart.size(), 3u);
  EXPECT_TRUE(opened.file->rowLength.empty());
  const TextureImage image = loadTextureImage(*opened.file);
  closeImageFile(std::move(opened.file));
  ASSERT_EQ(image.error, ImageError::none);
  EXPECT_EQ(pixel(image, 0, 0), (Rgba{0, 0, 0, 0}));
  EXPECT_EQ(pixel(image, 0, 15999), (Rgba{0, 0, 0, 0}));
}

TEST_F(ReaderTest, BadRowTableEntriesGiveZerosOrClippedRows) {
  Bytes b = rleFile(2, 1);
  putLong(b, 512 + 0 * 4, 0xFFFFFFF0u);  // row 0 starts far past the end
  putLong(b, 512 + 3 * 4, 0xFFFFFFFFu);  // row 1 claims 4 GiB, more than the row buffer
  const TextureImage image = load(b);
  ASSERT_EQ(image.error, ImageError::none);
  for (unsigned x = 0; x < kRleWidth; ++x) {
    EXPECT_EQ(pixel(image, x, 0), (Rgba{0, 0, 0, 255}));
    const int v = rleSample(x, 1, 0);
    EXPECT_EQ(pixel(image, x, 1), (Rgba{v, v, v, 255}));
  }
}

TEST_F(ReaderTest, ReportsMatchTheExitCodes) {
  const auto missing = folder_ / "t_ovin" / "Orvane.image";
  const TextureImage none = loadTextureImage(missing.c_str());
  EXPECT_EQ(none.error, ImageError::cannotOpen);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(reportLoadFailure(none, missing.c_str()), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            missing.string() + ": No such file or directory\n");

  const TextureImage huge = load(sgiHeader(1, 40000, 40000, 4));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(reportLoadFailure(huge, "p.image"), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "p.image: picture of 40000 x 40000 pixels in 4 channels is too large to read\n");

  ::testing::internal::CaptureStderr();
  EXPECT_EQ(reportLoadFailure(load(verbatimFile(2, 2, 3)), "p.image"), std::nullopt);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace orvane::renderer
