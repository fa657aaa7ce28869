// The picture format against an independent implementation: ImageMagick writes SGI files that
// our reader must decode to the source's pixels. Also the orvane-picture tool, end to end.

#include <gtest/gtest.h>

#include <string>

#include "renderer/sgi_image.h"
#include "tests/renderer/sgi_bytes.h"
#include "tests/support/child.h"

namespace orvane::renderer {
namespace {

using orvane::testing::RunShell;
using testing::Bytes;

// Wide enough for runs and literal stretches longer than one packet holds (127 bytes).
constexpr unsigned kWidth = 300;
constexpr unsigned kHeight = 23;

// A picture with flat stretches (run packets) and busy ones (literal packets), every channel
// different; pixels are interleaved, row 0 at the top.
Bytes sourcePixels(unsigned channels) {
  Bytes pixels;
  for (unsigned y = 0; y < kHeight; ++y) {
    for (unsigned x = 0; x < kWidth; ++x) {
      for (unsigned z = 0; z < channels; ++z) {
        const bool flat = x < 140 || (y % 5) == 0;
        pixels.push_back(
            static_cast<std::uint8_t>(flat ? 40 * z + y : (x * 7 + y * 13 + z * 51) % 256));
      }
    }
  }
  return pixels;
}

const char* tupleType(unsigned channels) {
  switch (channels) {
    case 1:
      return "GRAYSCALE";
    case 2:
      return "GRAYSCALE_ALPHA";
    case 3:
      return "RGB";
    default:
      return "RGB_ALPHA";
  }
}

Bytes pam(const Bytes& pixels, unsigned channels) {
  const std::string header = "P7\nWIDTH " + std::to_string(kWidth) + "\nHEIGHT " +
                             std::to_string(kHeight) + "\nDEPTH " + std::to_string(channels) +
                             "\nMAXVAL 255\nTUPLTYPE " + tupleType(channels) + "\nENDHDR\n";
  Bytes out(header.begin(), header.end());
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

// The source pixel at (x, y) from the top, as the reader's R, G, B, A.
std::array<int, 4> sourceRgba(const Bytes& pixels, unsigned channels, unsigned x, unsigned y) {
  const std::uint8_t* p = &pixels[(std::size_t{y} * kWidth + x) * channels];
  switch (channels) {
    case 1:
      return {p[0], p[0], p[0], 255};
    case 2:
      return {p[0], p[0], p[0], p[1]};
    case 3:
      return {p[0], p[1], p[2], 255};
    default:
      return {p[0], p[1], p[2], p[3]};
  }
}

class InterchangeTest : public ::testing::Test {
 protected:
  testing::TempFolder folder_;
};

TEST_F(InterchangeTest, ImageMagickFilesDecodeToTheSourcePixels) {
  for (unsigned channels = 1; channels <= 4; ++channels) {
    const Bytes pixels = sourcePixels(channels);
    testing::writeBytes(folder_ / "source.pam", pam(pixels, channels));
    for (const char* compression : {"RLE", "None"}) {
      SCOPED_TRACE(std::to_string(channels) + " channels, " + compression);
      const auto sgi = folder_ / "magick.sgi";
      const auto [code, out] =
          RunShell("/usr/bin/convert '" + (folder_ / "source.pam").string() +
                   "' -depth 8 -compress " + compression + " 'sgi:" + sgi.string() + "'");
      ASSERT_EQ(code, 0) << out;
      const Bytes file = testing::readBytes(sgi);
      ASSERT_GE(file.size(), 512u);
      EXPECT_EQ(file[2], compression[0] == 'R' ? 1 : 0);

      const TextureImage image = loadTextureImage(sgi.c_str());
      ASSERT_EQ(image.error, ImageError::none);
      ASSERT_EQ(image.width, static_cast<int>(kWidth));
      ASSERT_EQ(image.height, static_cast<int>(kHeight));
      int mismatches = 0;
      for (unsigned y = 0; y < kHeight; ++y) {
        // SGI files keep the bottom row first.
        const std::uint8_t* row = image.pixels.get() + std::size_t{kHeight - 1 - y} * kWidth * 4;
        for (unsigned x = 0; x < kWidth; ++x) {
          const auto want = sourceRgba(pixels, channels, x, y);
          for (int c = 0; c < 4; ++c) mismatches += row[x * 4 + c] != want[c];
        }
      }
      EXPECT_EQ(mismatches, 0);
    }
  }
}

class PictureToolTest : public InterchangeTest {
 protected:
  std::pair<int, std::string> runTool(const std::string& arguments) {
    return RunShell(std::string("'") + ORVANE_PICTURE_TOOL + "' " + arguments + " 2>&1");
  }
};

TEST_F(PictureToolTest, TurnsAPngIntoAPowerOfTwoPictureAndRefusesBadInput) {
  // 300 × 200 pixels: a red top-left quarter, blue elsewhere.
  const std::string png = (folder_ / "holiday.png").string();
  const std::string out = (folder_ / "Orvane.image").string();
  ASSERT_EQ(RunShell("/usr/bin/convert -size 300x200 xc:blue -fill red -draw 'rectangle 0,0 "
                     "149,99' -depth 8 '" +
                     png + "'")
                .first,
            0);
  auto [code, text] = runTool("'" + png + "' '" + out + "'");
  ASSERT_EQ(code, 0) << text;
  EXPECT_EQ(testing::readBytes(out).at(2), 1);  // run-length encoded
  const TextureImage image = loadTextureImage(out.c_str());
  ASSERT_EQ(image.error, ImageError::none);
  EXPECT_EQ(image.width, 256);   // 300 is nearer to 256 than to 512
  EXPECT_EQ(image.height, 256);  // 200 is nearer to 256 than to 128
  auto at = [&](int x, int yFromTop) {
    const std::uint8_t* p = image.pixels.get() + ((255 - yFromTop) * 256 + x) * 4;
    return std::array<int, 3>{p[0], p[1], p[2]};
  };
  EXPECT_EQ(at(10, 10), (std::array<int, 3>{255, 0, 0}));
  EXPECT_EQ(at(240, 10), (std::array<int, 3>{0, 0, 255}));
  EXPECT_EQ(at(10, 240), (std::array<int, 3>{0, 0, 255}));
  // Written through a temporary file and a rename: nothing else is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 2);

  ASSERT_EQ(runTool("--size 64 '" + png + "' '" + out + "'").first, 0);
  EXPECT_EQ(loadTextureImage(out.c_str()).width, 64);

  std::filesystem::remove(out);
  for (const char* size : {"100", "8192", "64x"}) {
    std::tie(code, text) = runTool(std::string("--size ") + size + " '" + png + "' '" + out + "'");
    EXPECT_EQ(code, 2) << size;
    EXPECT_NE(text.find("power of two"), std::string::npos) << text;
  }
  testing::writeBytes(folder_ / "broken.png", {0x89, 'P', 'N', 'G', 1, 2, 3});
  std::tie(code, text) = runTool("'" + (folder_ / "broken.png").string() + "' '" + out + "'");
  EXPECT_EQ(code, 1);
  EXPECT_NE(text.find("broken.png"), std::string::npos) << text;
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace orvane::renderer
