#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "renderer/sgi_image.h"
#include "renderer/tools/row_scaler.h"
#include "tests/support/child.h"
#include "tests/support/temp_folder.h"

namespace orvane::renderer {
namespace {

using orvane::testing::ReadBytes;
using orvane::testing::WriteBytes;
using Rgb = std::array<int, 3>;
constexpr Rgb kRed{255, 0, 0}, kBlue{0, 0, 255};

// The pixel at (x, y) counted from the top of an Orvane.image (stored bottom row first).
Rgb pixelFromTop(const TextureImage& image, int x, int y) {
  const std::uint8_t* p =
      image.pixels.get() + (std::size_t(image.height - 1 - y) * image.width + x) * 4;
  return {p[0], p[1], p[2]};
}

// A PNG's signature and header chunk alone, claiming width × height in 8-bit RGB.
std::string pngHeader(std::uint32_t width, std::uint32_t height) {
  const auto be = [](std::uint32_t v) {
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  };
  const std::string chunk = "IHDR" + be(width) + be(height) + std::string("\x08\x02\0\0\0", 5);
  return "\x89PNG\r\n\x1a\n" + be(13) + chunk +
         be(crc32(0, reinterpret_cast<const Bytef*>(chunk.data()), chunk.size()));
}

// A JPEG with an Exif APP1 segment holding only an orientation, in either byte order.
std::string withOrientation(const std::string& jpeg, bool bigEndian, int orientation) {
  const auto u16 = [&](int v) {
    const char hi = static_cast<char>(v >> 8), lo = static_cast<char>(v);
    return bigEndian ? std::string{hi, lo} : std::string{lo, hi};
  };
  const auto u32 = [&](int v) { return bigEndian ? u16(0) + u16(v) : u16(v) + u16(0); };
  const std::string data = std::string("Exif\0\0", 6) + (bigEndian ? "MM" : "II") + u16(42) +
                           u32(8) + u16(1) + u16(0x0112) + u16(3) + u32(1) + u16(orientation) +
                           u16(0) + u32(0);
  const std::string length = {char((data.size() + 2) >> 8), char(data.size() + 2)};
  return jpeg.substr(0, 2) + "\xff\xe1" + length + data + jpeg.substr(2);
}

class PictureTest : public ::testing::Test {
 protected:
  std::pair<int, std::string> run(const std::string& command) {
    return orvane::testing::RunShell("cd '" + folder_.path() + "' && " + command + " 2>&1");
  }
  std::pair<int, std::string> tool(const std::string& arguments) {
    return run("'" ORVANE_PICTURE_TOOL "' " + arguments);
  }
  TextureImage load(const std::string& name) { return loadTextureImage((folder_ / name).c_str()); }
  orvane::testing::TempFolder folder_;
};

TEST(RowScalerTest, ShrinksByAreaAndGrowsByLinearInterpolation) {
  // Three to two: each output takes one and a half inputs; growing: linear, the ends held.
  using V = std::vector<int>;
  for (const auto& [from, to, expected] : {std::tuple{V{30, 60, 90}, 2, V{40, 80}},
                                           {V{0, 100}, 4, V{0, 25, 75, 100}},
                                           {V{10, 20, 30, 40}, 1, V{25}}}) {
    const int n = static_cast<int>(from.size());
    RowScaler across(n, 1, to, 1);
    std::vector<std::uint8_t> row;
    for (const int v : from) row.insert(row.end(), {std::uint8_t(v), std::uint8_t(v), 0});
    across.addRow(row.data());
    ASSERT_TRUE(across.complete());
    const std::vector<std::uint8_t> a = across.take();
    for (int i = 0; i < to; ++i) EXPECT_EQ(a[3 * i], expected[i]) << n << " to " << to << ", " << i;
  }
}

// Every kind read becomes a picture with sides of the nearest power of two up to 1024, upright
// as the camera says, transparency laid over black.
TEST_F(PictureTest, ToolScalesEveryKindToPowersOfTwoAndTurnsCameraPicturesUpright) {
  // 300 × 200 and 4000 × 2000 with a red top-left quarter, 64 × 32 with a red left half.
  const std::string quarter = "-size 300x200 xc:blue -fill red -draw 'rectangle 0,0 149,99' ";
  for (const std::string& arguments : std::initializer_list<std::string>{
           quarter + "-depth 8 holiday.png", quarter + "-interlace PNG -depth 8 interlaced.png",
           quarter + "-quality 95 holiday.jpg", quarter + "-colorspace CMYK cmyk.jpg",
           quarter + "-alpha set -channel A -evaluate set 50% -depth 8 half.png",
           "-size 4000x2000 xc:blue -fill red -draw 'rectangle 0,0 1999,999' -depth 8 big.png",
           "-size 64x32 xc:blue -fill red -draw 'rectangle 0,0 31,31' -quality 95 side.jpg"})
    ASSERT_EQ(run("/usr/bin/convert " + arguments).first, 0) << arguments;
  // Turned clockwise (6) the left half is on top; anticlockwise (8), below; round (3), right.
  const std::string side = ReadBytes(folder_ / "side.jpg");
  WriteBytes(folder_ / "turned6.jpg", withOrientation(side, true, 6));
  WriteBytes(folder_ / "turned8.jpg", withOrientation(side, false, 8));
  WriteBytes(folder_ / "turned3.jpg", withOrientation(side, true, 3));

  // The first point red, the others blue; JPEG's colours are near, not exact.
  using Points = std::vector<std::pair<int, int>>;
  const std::tuple<const char*, int, int, Points> cases[] = {
      {"holiday.png", 256, 256, {{10, 10}, {240, 10}, {10, 240}}},
      {"interlaced.png", 256, 256, {{10, 10}, {240, 10}, {10, 240}}},
      {"holiday.jpg", 256, 256, {{10, 10}, {240, 10}, {10, 240}}},
      {"cmyk.jpg", 256, 256, {{10, 10}, {240, 10}, {10, 240}}},
      {"turned6.jpg", 32, 64, {{16, 5}, {16, 58}}},
      {"turned8.jpg", 32, 64, {{16, 58}, {16, 5}}},
      {"turned3.jpg", 64, 32, {{58, 16}, {5, 16}}},
      {"big.png", 1024, 1024, {{511, 511}, {512, 0}, {0, 512}, {1023, 1023}}}};
  for (const auto& [input, width, height, where] : cases) {
    SCOPED_TRACE(input);
    const auto [code, text] = tool(std::string(input) + " Orvane.image");
    ASSERT_EQ(code, 0) << text;
    EXPECT_EQ(text, "orvane-picture: wrote Orvane.image (" + std::to_string(width) + " x " +
                        std::to_string(height) + ")\n");
    const TextureImage image = load("Orvane.image");
    ASSERT_EQ(std::pair(image.width, image.height), std::pair(width, height));
    for (std::size_t i = 0; i < where.size(); ++i)
      for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(pixelFromTop(image, where[i].first, where[i].second)[c], (i ? kBlue : kRed)[c],
                    8)
            << "pixel " << i << " channel " << c;
  }
  ASSERT_EQ(tool("--size 64 half.png Orvane.image").first, 0);
  EXPECT_EQ(pixelFromTop(load("Orvane.image"), 5, 5), (Rgb{128, 0, 0}));
}

// Bad pictures: one line and exit code 1; bad arguments: 2. The user's picture is kept.
TEST_F(PictureTest, ToolRefusesBadPicturesAndKeepsThePreviousOne) {
  const std::string noise = "/usr/bin/convert -size 400x300 xc:gray -seed 1 +noise Random ";
  ASSERT_EQ(run(noise + "-quality 95 photo.jpg && " + noise + "-depth 8 noise.png && " +
                "/usr/bin/convert -size 8x8 xc:red anim.gif")
                .first,
            0);
  const std::string png = ReadBytes(folder_ / "noise.png");
  WriteBytes(folder_ / "cut.jpg", ReadBytes(folder_ / "photo.jpg").substr(0, 3000));
  WriteBytes(folder_ / "cut.png", png.substr(0, png.size() / 2));
  std::string flipped = png;
  flipped[png.size() / 2] ^= 0x10;
  WriteBytes(folder_ / "flipped.png", flipped);
  WriteBytes(folder_ / "noend.png", png.substr(0, png.size() - 12));  // no IEND
  WriteBytes(folder_ / "wide.png", pngHeader(70000, 10));
  WriteBytes(folder_ / "broken.png", "\x89PNG\x01\x02\x03");

  const std::string previous = "the picture the user had";
  const std::string damaged = ": the picture is damaged or incomplete (";
  const std::string limits = " pixels; at most 65535 pixels on a side and 400 million pixels in";
  for (const auto& [arguments, code, start] :
       std::initializer_list<std::tuple<std::string, int, std::string>>{
           {"cut.jpg", 1, "orvane-picture: cut.jpg" + damaged + "Premature end of JPEG"},
           {"cut.png", 1, "orvane-picture: cut.png" + damaged},
           {"flipped.png", 1, "orvane-picture: flipped.png" + damaged},
           {"noend.png", 1, "orvane-picture: noend.png" + damaged},
           {"wide.png", 1, "orvane-picture: wide.png: the picture is 70000 x 10" + limits},
           {"broken.png", 1, "orvane-picture: broken.png: not a PNG or JPEG picture"},
           {"anim.gif", 1, "orvane-picture: anim.gif: not a PNG or JPEG picture"},
           {"missing.png", 1, "orvane-picture: missing.png: No such file or directory"},
           {"--size 100 photo.jpg", 2, "orvane-picture: --size must be a power of two from"},
           {"a.png b.png", 2, "usage: orvane-picture [--size N] INPUT [OUTPUT]\n"}}) {
    SCOPED_TRACE(arguments);
    WriteBytes(folder_ / "Orvane.image", previous);
    const auto [exitCode, text] = tool(arguments + " Orvane.image");
    EXPECT_EQ(exitCode, code);
    EXPECT_EQ(text.rfind(start, 0), 0u) << text;
    EXPECT_TRUE(code == 2 || std::count(text.begin(), text.end(), '\n') == 1) << text;
    EXPECT_EQ(ReadBytes(folder_ / "Orvane.image"), previous);
  }
}

}  // namespace
}  // namespace orvane::renderer
