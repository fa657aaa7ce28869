// The picture tool: its scaler on rows of known values, its decoders in this process (built
// with AddressSanitizer and UBSan), and orvane-picture end to end on pictures made here: good
// ones of every kind it reads, cut-off and damaged ones, and sizes over its limits.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <tuple>

#include "renderer/sgi_image.h"
#include "renderer/tools/picture_decode.h"
#include "renderer/tools/row_scaler.h"
#include "tests/renderer/png_maker.h"
#include "tests/support/child.h"
#include "tests/support/temp_folder.h"

namespace orvane::renderer {
namespace {

using orvane::testing::ReadBytes;
using orvane::testing::WriteBytes;
using Rgb = std::array<int, 3>;
constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};

// The pixel at (x, y) counted from the top of an Orvane.image (stored bottom row first).
Rgb pixelFromTop(const TextureImage& image, int x, int y) {
  const std::uint8_t* p =
      image.pixels.get() + (static_cast<std::size_t>(image.height - 1 - y) * image.width + x) * 4;
  return {p[0], p[1], p[2]};
}

Rgb pixelOf(const Picture& picture, int x, int y) {
  const std::uint8_t* p = &picture.rgb[(static_cast<std::size_t>(y) * picture.width + x) * 3];
  return {p[0], p[1], p[2]};
}

// A binary PPM of width × height, red where left(x, y), else blue.
std::string ppm(int width, int height, bool (*left)(int, int)) {
  std::string out = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) out += std::string(left(x, y) ? "\xff\0\0" : "\0\0\xff", 3);
  return out;
}

// An Exif APP1 segment holding only an orientation, in either byte order.
std::string exifSegment(bool bigEndian, int orientation) {
  const auto u16 = [&](int v) {
    const char hi = static_cast<char>(v >> 8), lo = static_cast<char>(v);
    return bigEndian ? std::string{hi, lo} : std::string{lo, hi};
  };
  const auto u32 = [&](int v) { return bigEndian ? u16(0) + u16(v) : u16(v) + u16(0); };
  const std::string tiff = (bigEndian ? "MM" : "II") + u16(42) + u32(8) + u16(1) + u16(0x0112) +
                           u16(3) + u32(1) + u16(orientation) + u16(0) + u32(0);
  const std::string data = std::string("Exif\0\0", 6) + tiff;
  return "\xff\xe1" +
         std::string{static_cast<char>((data.size() + 2) >> 8),
                     static_cast<char>(data.size() + 2)} +
         data;
}

class PictureTest : public ::testing::Test {
 protected:
  // Runs a command in the test's folder: its exit code and everything it wrote.
  std::pair<int, std::string> run(const std::string& command) {
    return orvane::testing::RunShell("cd '" + folder_.path() + "' && " + command + " 2>&1");
  }
  std::pair<int, std::string> tool(const std::string& arguments) {
    return run("'" ORVANE_PICTURE_TOOL "' " + arguments);
  }
  // A JPEG made by cjpeg from a PPM.
  std::string jpeg(const std::string& name, const std::string& ppmBytes) {
    WriteBytes(folder_ / "source.ppm", ppmBytes);
    EXPECT_EQ(run("cjpeg -quality 95 source.ppm > " + name).first, 0);
    return ReadBytes(folder_ / name);
  }
  TextureImage load(const std::string& name) { return loadTextureImage((folder_ / name).c_str()); }
  orvane::testing::TempFolder folder_;
};

TEST(RowScalerTest, ShrinksByAreaAndGrowsByLinearInterpolation) {
  // Three samples to two: each output takes one and a half inputs; two to four: linear
  // between centres, the ends held.
  for (const auto& [from, to, expected] :
       {std::tuple{std::vector<int>{30, 60, 90}, 2, std::vector<int>{40, 80}},
        {std::vector<int>{0, 100}, 4, std::vector<int>{0, 25, 75, 100}},
        {std::vector<int>{10, 20, 30, 40}, 1, std::vector<int>{25}}}) {
    const int n = static_cast<int>(from.size());
    // The same values across one row and down one column.
    RowScaler across(n, 1, to, 1), down(1, n, 1, to);
    std::vector<std::uint8_t> row;
    for (const int v : from) row.insert(row.end(), {std::uint8_t(v), std::uint8_t(v), 0});
    across.addRow(row.data());
    for (int y = 0; y < n; ++y) down.addRow(&row[3 * y]);
    ASSERT_TRUE(across.complete() && down.complete());
    const std::vector<std::uint8_t> a = across.take(), d = down.take();
    for (int i = 0; i < to; ++i) {
      EXPECT_EQ(a[3 * i], expected[i]) << n << " to " << to << " across, " << i;
      EXPECT_EQ(d[3 * i + 1], expected[i]) << n << " to " << to << " down, " << i;
    }
  }
}

TEST_F(PictureTest, InterlacedPngReadWholeOrFromItsLastPass) {
  // Red rows 0 to 19, blue rows 20 to 39.
  ASSERT_EQ(run("/usr/bin/convert -size 64x40 xc:red -fill blue -draw 'rectangle 0,20 63,39' "
                "-interlace PNG -depth 8 PNG24:interlaced.png")
                .first,
            0);
  for (const std::uint64_t wholeUpTo : {std::uint64_t{1} << 20, std::uint64_t{0}}) {
    SCOPED_TRACE(wholeUpTo ? "whole" : "last pass");
    std::FILE* file = std::fopen((folder_ / "interlaced.png").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    Picture picture;
    PictureLimits limits;
    limits.wholeInterlaced = wholeUpTo;
    const std::string error = decodePicture(
        file, [](int w, int h, int& ow, int& oh) { ow = w, oh = h; }, picture, limits);
    std::fclose(file);
    ASSERT_EQ(error, "");
    ASSERT_EQ(std::pair(picture.width, picture.height), std::pair(64, 40));
    // From the last pass alone, the ten odd rows of each colour become twenty: the two rows
    // at the border blend.
    for (const auto& [y, colour] : {std::pair{0, kRed}, {17, kRed}, {22, kBlue}, {39, kBlue}})
      EXPECT_EQ(pixelOf(picture, 63, y), colour) << y;
  }
}

TEST_F(PictureTest, ToolScalesEveryKindToPowersOfTwoAndTurnsCameraPicturesUpright) {
  // 300 × 200, red top-left quarter, blue elsewhere: 300 is nearer to 256 than to 512, 200
  // nearer to 256 than to 128.
  const auto quarter = [](int x, int y) { return x < 150 && y < 100; };
  WriteBytes(folder_ / "holiday.ppm", ppm(300, 200, quarter));
  jpeg("holiday.jpg", ppm(300, 200, quarter));
  ASSERT_EQ(run("/usr/bin/convert holiday.ppm -depth 8 holiday.png && /usr/bin/convert "
                "holiday.ppm -colorspace CMYK cmyk.jpg && /usr/bin/convert holiday.ppm -alpha "
                "set -channel A -evaluate set 50% -depth 8 half.png")
                .first,
            0);
  // 64 × 32, left half red; the camera says how to turn it.
  const std::string side = jpeg("side.jpg", ppm(64, 32, [](int x, int) { return x < 32; }));
  for (const auto& [name, big, orientation] :
       {std::tuple{"turned6.jpg", true, 6}, {"turned8.jpg", false, 8}, {"turned3.jpg", true, 3}})
    WriteBytes(folder_ / name, side.substr(0, 2) + exifSegment(big, orientation) + side.substr(2));

  for (const auto& [input, width, height, where] :
       std::initializer_list<std::tuple<const char*, int, int, std::vector<std::pair<int, int>>>>{
           {"holiday.png", 256, 256, {{10, 10}, {240, 10}, {10, 240}}},
           {"holiday.jpg", 256, 256, {{10, 10}, {240, 10}, {10, 240}}},
           {"cmyk.jpg", 256, 256, {{10, 10}, {240, 10}, {10, 240}}},
           // Turned a quarter clockwise, the left half is on top; anticlockwise, below;
           // a half turn puts it on the right.
           {"turned6.jpg", 32, 64, {{16, 5}, {16, 58}}},
           {"turned8.jpg", 32, 64, {{16, 58}, {16, 5}}},
           {"turned3.jpg", 64, 32, {{58, 16}, {5, 16}}}}) {
    SCOPED_TRACE(input);
    const auto [code, text] = tool(std::string(input) + " Orvane.image");
    ASSERT_EQ(code, 0) << text;
    EXPECT_EQ(ReadBytes(folder_ / "Orvane.image").at(2), 1);  // run-length encoded
    const TextureImage image = load("Orvane.image");
    ASSERT_EQ(std::pair(image.width, image.height), std::pair(width, height));
    for (std::size_t i = 0; i < where.size(); ++i) {
      const Rgb got = pixelFromTop(image, where[i].first, where[i].second);
      const Rgb want = i == 0 ? kRed : kBlue;
      for (int c = 0; c < 3; ++c)  // JPEG's colours are near, not exact
        EXPECT_NEAR(got[c], want[c], 8) << "pixel " << i << " channel " << c;
    }
  }
  // Half transparent is laid over black.
  ASSERT_EQ(tool("--size 64 half.png Orvane.image").first, 0);
  EXPECT_EQ(pixelFromTop(load("Orvane.image"), 5, 5), (Rgb{128, 0, 0}));
  // Written through a temporary file and a rename: nothing else is left behind.
  std::filesystem::remove(folder_ / "Orvane.image");
  const auto files = std::distance(std::filesystem::directory_iterator(folder_.path()), {});
  ASSERT_EQ(tool("holiday.png Orvane.image").first, 0);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), files + 1);

  // Without an output it becomes the user's own picture, its folder made on the way.
  const auto [ownCode, ownText] =
      run("XDG_CONFIG_HOME='" + folder_ / "config" + "' '" ORVANE_PICTURE_TOOL "' holiday.png");
  ASSERT_EQ(ownCode, 0) << ownText;
  EXPECT_EQ(load("config/orvane/Orvane.image").width, 256);
}

// Damaged, cut-off, unknown and oversized pictures: one line, exit code 1, and the picture
// already there is kept as it was.
TEST_F(PictureTest, ToolRefusesBadPicturesAndKeepsThePreviousOne) {
  const std::string photo = jpeg("photo.jpg", ppm(400, 300, [](int x, int y) {
                                   return ((x * 7) ^ (y * 13)) % 11 < 5;  // busy: many bytes
                                 }));
  ASSERT_GT(photo.size(), 6000u);
  WriteBytes(folder_ / "cut.jpg", photo.substr(0, 3000));
  std::vector<std::uint8_t> grey[2] = {std::vector<std::uint8_t>(900), {}};
  grey[1] = grey[0];
  const std::string png = orvane::testing::MakePng(300, 200, [&](std::uint32_t y) {
    for (int x = 0; x < 900; ++x) grey[y % 2][x] = static_cast<std::uint8_t>(x ^ y);
    return grey[y % 2].data();
  });
  WriteBytes(folder_ / "cut.png", png.substr(0, png.size() / 2));
  std::string flipped = png;
  flipped[png.size() / 2] ^= 0x10;
  WriteBytes(folder_ / "flipped.png", flipped);
  WriteBytes(folder_ / "noend.png", png.substr(0, png.size() - 12));  // no IEND
  WriteBytes(folder_ / "wide.png", orvane::testing::PngHeader(70000, 10));
  WriteBytes(folder_ / "many.png", orvane::testing::PngHeader(30000, 20000));
  // A real JPEG whose frame header claims 30000 × 20000 (height, then width, after the
  // marker's length and the precision).
  std::string many = photo;
  for (std::size_t at = 2; at + 9 < many.size();
       at += 2 + (static_cast<std::uint8_t>(many[at + 2]) << 8 |
                  static_cast<std::uint8_t>(many[at + 3]))) {
    if (static_cast<std::uint8_t>(many[at + 1]) != 0xc0) continue;
    many.replace(at + 5, 4, "\x4e\x20\x75\x30");
    break;
  }
  WriteBytes(folder_ / "many.jpg", many);
  WriteBytes(folder_ / "broken.png", "\x89PNG\x01\x02\x03");
  ASSERT_EQ(run("/usr/bin/convert -size 8x8 xc:red anim.gif").first, 0);

  const std::string previous = "the picture the user had";
  for (const auto& [input, wantText] :
       {std::pair{"cut.jpg", "the picture is damaged or incomplete (Premature end of JPEG"},
        {"cut.png", "the picture is damaged or incomplete"},
        {"flipped.png", "the picture is damaged or incomplete"},
        {"noend.png", "the picture is damaged or incomplete"},
        {"wide.png", "70000 x 10 pixels; at most 65535 pixels on a side and 400 million"},
        {"many.png", "30000 x 20000 pixels; at most 65535 pixels on a side and 400 million"},
        {"many.jpg", "30000 x 20000 pixels; at most 65535 pixels on a side and 400 million"},
        {"broken.png", "not a PNG or JPEG picture"},
        {"anim.gif", "not a PNG or JPEG picture"},
        {"missing.png", "No such file or directory"}}) {
    SCOPED_TRACE(input);
    WriteBytes(folder_ / "Orvane.image", previous);
    const auto [code, text] = tool(std::string(input) + " Orvane.image");
    EXPECT_EQ(code, 1);
    EXPECT_EQ(text.rfind("orvane-picture: " + std::string(input) + ": ", 0), 0u) << text;
    EXPECT_NE(text.find(wantText), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_EQ(ReadBytes(folder_ / "Orvane.image"), previous);
  }
  for (const auto& [arguments, wantText] :
       {std::pair{"--size 100 photo.jpg x.image", "power of two"},
        {"a.png b.png c.png", "usage"}}) {
    const auto [code, text] = tool(arguments);
    EXPECT_EQ(code, 2) << arguments;
    EXPECT_NE(text.find(wantText), std::string::npos) << text;
  }
}

// A 20000 × 20000 picture, the largest the tool promises to convert (its time and memory are
// measured by bench_picture_tool): green top-left quarter, red top-right, blue below.
TEST_F(PictureTest, ToolConvertsATwentyThousandSquarePicture) {
  std::vector<std::uint8_t> top, below;
  for (int x = 0; x < 20000; ++x) {
    top.insert(top.end(), x < 10000 ? kGreen.begin() : kRed.begin(),
               x < 10000 ? kGreen.end() : kRed.end());
    below.insert(below.end(), kBlue.begin(), kBlue.end());
  }
  const std::string png = orvane::testing::MakePng(
      20000, 20000, [&](std::uint32_t y) { return y < 10000 ? top.data() : below.data(); });
  WriteBytes(folder_ / "huge.png", png);
  const auto [code, text] = tool("huge.png Orvane.image");
  ASSERT_EQ(code, 0) << text;
  EXPECT_EQ(text, "orvane-picture: wrote Orvane.image (1024 x 1024)\n");
  const TextureImage image = load("Orvane.image");
  ASSERT_EQ(std::pair(image.width, image.height), std::pair(1024, 1024));
  for (const auto& [x, y, colour] : {std::tuple{0, 0, kGreen},
                                     {511, 511, kGreen},
                                     {512, 0, kRed},
                                     {1023, 511, kRed},
                                     {0, 512, kBlue},
                                     {1023, 1023, kBlue}})
    EXPECT_EQ(pixelFromTop(image, x, y), colour) << x << ", " << y;
}

}  // namespace
}  // namespace orvane::renderer
