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

TEST(SurfaceStretchCopy, RefusesBadRectanglesAndClipsTheDestination) {
  // (The frame's pieces check the 1:1 and nearest-pixel mappings, through the control.)
  Picture p;
  p.Width = 64;
  p.Height = 25;
  p.Rgb.assign(64 * 25 * 3, 0x80);
  Surface s(100, 40);
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
