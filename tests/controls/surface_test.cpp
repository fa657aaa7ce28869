#include "host/controls/surface.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TriVertex V(int x, int y, std::uint32_t rgb) {
  TriVertex v;
  v.X = x;
  v.Y = y;
  v.Red = static_cast<std::uint16_t>(((rgb >> 16) & 0xFF) << 8);
  v.Green = static_cast<std::uint16_t>(((rgb >> 8) & 0xFF) << 8);
  v.Blue = static_cast<std::uint16_t>((rgb & 0xFF) << 8);
  return v;
}

// Right and bottom edges are exclusive; the top row takes the vertex with the smaller y,
// whichever index it has.
TEST(SurfaceGradient, VerticalRunsFromSmallerYAndExcludesLastRowAndColumn) {
  GradientRectangle rect{1, 0};
  for (const bool swapped : {false, true}) {
    Surface s(10, 9);
    s.Clear(0x123456);
    TriVertex vertices[2] = {V(0, 0, 0xFFFFFF), V(9, 8, 0xC6C5D7)};
    if (swapped) std::swap(vertices[0], vertices[1]);
    ASSERT_TRUE(s.GradientFill(vertices, {&rect, 1}, GradientMode::Vertical));
    for (int x = 0; x < 9; ++x) {
      EXPECT_EQ(s.Pixel(x, 0), 0xFFFFFFu) << x;
      EXPECT_EQ(s.Pixel(x, 4), 0xE2E2EBu);  // half way, one colour a row
      EXPECT_EQ(s.Pixel(x, 7), 0xCDCCDCu);  // one step short of the bottom colour
    }
    for (int x = 0; x < 10; ++x) EXPECT_EQ(s.Pixel(x, 8), 0x123456u) << "bottom row " << x;
    for (int y = 0; y < 9; ++y) EXPECT_EQ(s.Pixel(9, y), 0x123456u) << "right column " << y;
  }
  Surface s(6, 6);
  s.Clear(0x010203);
  TriVertex vertices[2] = {V(0, 0, 0xC6C5D7), V(5, 5, 0xFFFFFF)};
  ASSERT_TRUE(s.GradientFill(vertices, {&rect, 1}, GradientMode::Horizontal));
  EXPECT_EQ(s.Pixel(0, 3), 0xC6C5D7u);
  EXPECT_EQ(s.Pixel(3, 0), s.Pixel(3, 4));
  s.Clear(0x010203);
  GradientRectangle bad{1, 7};
  EXPECT_FALSE(s.GradientFill(vertices, {&bad, 1}, GradientMode::Vertical));
  EXPECT_EQ(s.Pixel(0, 0), 0x010203u);
  TriVertex wide[2] = {V(-50, -50, 0xFFFFFF), V(5000, 5000, 0)};  // clipped, not overrun
  EXPECT_TRUE(s.GradientFill(wide, {&rect, 1}, GradientMode::Vertical));
}

// Each pixel names its own position: red x, green y.
Picture Coded(int width, int height) {
  Picture p;
  p.Width = width;
  p.Height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      p.Rgb.insert(p.Rgb.end(), {std::uint8_t(x), std::uint8_t(y), 0x80});
  }
  return p;
}

TEST(SurfaceStretchCopy, OneToOneNearestPixelAndBadRectangles) {
  const Picture p = Coded(64, 25);
  Surface s(100, 40);
  s.Clear(0);
  ASSERT_TRUE(s.StretchCopy(p, {60, 4, 4, 17}, {10, 10, 4, 17}));
  for (int y = 0; y < 17; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(s.Pixel(10 + x, 10 + y) >> 8, (60u + x) << 8 | (4 + y));
  }
  EXPECT_EQ(s.Pixel(9, 10), 0u);
  EXPECT_EQ(s.Pixel(14, 10), 0u);
  // Stretched 56 -> 73 and compressed 56 -> 33: ends map to ends, columns never go back.
  for (const int width : {73, 33}) {
    s.Clear(0);
    ASSERT_TRUE(s.StretchCopy(p, {4, 0, 56, 4}, {0, 0, width, 4}));
    EXPECT_EQ(s.Pixel(0, 0) >> 16, 4u);
    EXPECT_EQ(s.Pixel(width - 1, 0) >> 16, 59u);
    for (int x = 1; x < width; ++x) {
      const int step = int(s.Pixel(x, 0) >> 16) - int(s.Pixel(x - 1, 0) >> 16);
      EXPECT_GE(step, width > 56 ? 0 : 1) << x;
      EXPECT_LE(step, width > 56 ? 1 : 2) << x;
    }
  }
  s.Clear(0);
  EXPECT_FALSE(s.StretchCopy(p, {0, 0, 0, 4}, {0, 0, 4, 4}));
  EXPECT_FALSE(s.StretchCopy(p, {0, 0, 4, 4}, {0, 0, -4, 4}));
  EXPECT_FALSE(s.StretchCopy(p, {62, 0, 4, 4}, {0, 0, 4, 4}));  // runs past the picture
  EXPECT_FALSE(s.StretchCopy(p, {-1, 0, 4, 4}, {0, 0, 4, 4}));
  EXPECT_FALSE(s.StretchCopy(Picture{}, {0, 0, 4, 4}, {0, 0, 4, 4}));
  EXPECT_TRUE(s.StretchCopy(p, {0, 0, 64, 25}, {-30, 35, 200, 200}));  // clipped
  EXPECT_NE(s.Pixel(0, 39), 0u);
  EXPECT_EQ(s.Pixel(0, 34), 0u);
  EXPECT_FALSE(s.Resize(-1, 4));
  EXPECT_FALSE(s.Resize(4, Surface::kMaxSide + 1));
  EXPECT_EQ(s.Width(), 100);
}

}  // namespace
}  // namespace orvane
