#include "host/preview_layout.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace orvane {
namespace {

constexpr int kPictureWidth = 152;
constexpr int kPictureHeight = 112;

Rect Area(int left, int top, int width, int height) {
  return Rect{left, top, left + width, top + height};
}

PreviewLayout Lay(const Rect& host, float twipsPerPixel) {
  return LayOutPreview(host, twipsPerPixel, twipsPerPixel, kPictureWidth, kPictureHeight);
}

TEST(PreviewTwips, HalvesGoToTheEvenNumberAndOnlySixteenBitsFit) {
  EXPECT_EQ(RoundToInt16(2.5), 2);
  EXPECT_EQ(RoundToInt16(3.5), 4);
  EXPECT_EQ(RoundToInt16(-2.5), -2);
  EXPECT_EQ(RoundToInt16(-3.5), -4);
  EXPECT_EQ(RoundToInt16(2.4999), 2);
  EXPECT_EQ(RoundToInt16(2.5001), 3);
  EXPECT_EQ(RoundToInt16(32767.4), 32767);
  EXPECT_EQ(RoundToInt16(32766.5), 32766);
  EXPECT_EQ(RoundToInt16(32767.5), std::nullopt) << "rounds to 32768";
  EXPECT_EQ(RoundToInt16(-32768.5), -32768) << "the even neighbour is inside";
  EXPECT_EQ(RoundToInt16(-32768.6), std::nullopt);
  EXPECT_EQ(RoundToInt16(1e300), std::nullopt);
  EXPECT_EQ(RoundToInt16(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
  EXPECT_EQ(RoundToInt16(-std::numeric_limits<double>::infinity()), std::nullopt);

  EXPECT_EQ(TwipsFromPixels(0.5f, 5), 2);
  EXPECT_EQ(TwipsFromPixels(0.5f, 7), 4);
  EXPECT_EQ(TwipsFromPixels(2.5f, 1), 2);
  EXPECT_EQ(TwipsFromPixels(15.0f, 2184), 32760);
  EXPECT_EQ(TwipsFromPixels(15.0f, 2185), 0) << "32775 twips do not fit: the value stays 0";
  EXPECT_EQ(TwipsFromPixels(15.0f, INT32_MAX), 0);
  EXPECT_EQ(TwipsFromPixels(std::numeric_limits<float>::quiet_NaN(), 10), 0);
}

TEST(PreviewLayout, TheUsualPreviewAreaAt96And120DotsPerInch) {
  const PreviewLayout at96 = Lay(Area(400, 300, 152, 112), 15.0f);
  EXPECT_EQ(at96.WidthTwips, 2280);
  EXPECT_EQ(at96.HeightTwips, 1680);
  EXPECT_EQ(at96.FormWidth, 152);
  EXPECT_EQ(at96.FormHeight, 112);
  EXPECT_FLOAT_EQ(at96.ImageWidth, 152.0f);
  EXPECT_FLOAT_EQ(at96.ImageHeight, 112.0f);
  EXPECT_EQ(at96.ShownWidth, 152);
  EXPECT_EQ(at96.ShownHeight, 112);

  const PreviewLayout at120 = Lay(Area(-50, 10, 152, 112), 12.0f);
  EXPECT_EQ(at120.WidthTwips, 1824);
  EXPECT_EQ(at120.HeightTwips, 1344);
  EXPECT_EQ(at120.FormWidth, 152);
  EXPECT_EQ(at120.FormHeight, 112);
  EXPECT_FLOAT_EQ(at120.ImageWidth, 152.0f);
  EXPECT_FLOAT_EQ(at120.ImageHeight, 112.0f);
  EXPECT_EQ(at120.ShownWidth, 152);
  EXPECT_EQ(at120.ShownHeight, 112);
}

TEST(PreviewLayout, ThePictureIsCutOffNeverScaled) {
  const PreviewLayout larger = Lay(Area(0, 0, 300, 200), 15.0f);
  EXPECT_EQ(larger.FormWidth, 300);
  EXPECT_EQ(larger.FormHeight, 200);
  EXPECT_FLOAT_EQ(larger.ImageWidth, 300.0f);
  EXPECT_EQ(larger.ShownWidth, kPictureWidth) << "black shows to the right";
  EXPECT_EQ(larger.ShownHeight, kPictureHeight) << "black shows below";

  const PreviewLayout smaller = Lay(Area(0, 0, 100, 60), 15.0f);
  EXPECT_EQ(smaller.FormWidth, 100);
  EXPECT_EQ(smaller.ShownWidth, 100);
  EXPECT_EQ(smaller.ShownHeight, 60);

  const PreviewLayout mixed = Lay(Area(0, 0, 90, 400), 12.0f);
  EXPECT_EQ(mixed.ShownWidth, 90);
  EXPECT_EQ(mixed.ShownHeight, kPictureHeight);

  const PreviewLayout noPicture = LayOutPreview(Area(0, 0, 300, 200), 15.0f, 15.0f, 0, 0);
  EXPECT_EQ(noPicture.FormWidth, 300) << "the black form shows on its own";
  EXPECT_EQ(noPicture.ShownWidth, 0);
}

TEST(PreviewLayout, AWindowBeyond32767TwipsLeavesThatDimensionAtZero) {
  const PreviewLayout wide = Lay(Area(0, 0, 2185, 600), 15.0f);
  EXPECT_EQ(wide.WidthTwips, 0);
  EXPECT_EQ(wide.FormWidth, 0) << "no size: the form stays invisible";
  EXPECT_FLOAT_EQ(wide.ImageWidth, 0.0f);
  EXPECT_EQ(wide.ShownWidth, 0);
  EXPECT_EQ(wide.HeightTwips, 9000) << "the other dimension is untouched";
  EXPECT_EQ(wide.FormHeight, 600);

  const PreviewLayout edge = Lay(Area(0, 0, 2184, 2184), 15.0f);
  EXPECT_EQ(edge.WidthTwips, 32760);
  EXPECT_EQ(edge.FormWidth, 2184);
  EXPECT_EQ(edge.FormHeight, 2184);

  // At 120 dpi the bound lies further out: 2730 pixels fit, 2731 do not.
  EXPECT_EQ(Lay(Area(0, 0, 2730, 10), 12.0f).FormWidth, 2730);
  EXPECT_EQ(Lay(Area(0, 0, 10, 2731), 12.0f).HeightTwips, 0);
}

TEST(PreviewLayout, TheFormFillsTheCallersWindowAtAnyWholeDpi) {
  // Rounding to twips and back must give the caller's size again: a truncation anywhere
  // would leave a strip of the caller's window uncovered.
  for (int dpi : {72, 96, 97, 110, 120, 144, 150, 192}) {
    const float twipsPerPixel = static_cast<float>(1440.0 / dpi);
    for (int pixels = 1; pixels * twipsPerPixel <= 32767; pixels += 7) {
      const PreviewLayout layout = Lay(Area(0, 0, pixels, pixels), twipsPerPixel);
      ASSERT_EQ(layout.FormWidth, pixels) << dpi << " dpi";
      ASSERT_EQ(std::lround(layout.ImageWidth), pixels) << dpi << " dpi";
      ASSERT_EQ(layout.ShownWidth, std::min(pixels, kPictureWidth)) << dpi << " dpi";
    }
  }
}

TEST(PreviewLayout, OddRectanglesAndFactorsGiveNoSizeRatherThanGarbage) {
  const PreviewLayout reversed = Lay(Rect{100, 100, 40, 60}, 15.0f);
  EXPECT_LT(reversed.WidthTwips, 0);
  EXPECT_EQ(reversed.FormWidth, 0);
  EXPECT_EQ(reversed.FormHeight, 0);
  EXPECT_EQ(reversed.ShownWidth, 0);

  const PreviewLayout huge = Lay(Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 15.0f);
  EXPECT_EQ(huge.WidthTwips, 0);
  EXPECT_EQ(huge.FormWidth, 0);

  for (float factor : {0.0f, -15.0f, std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity()}) {
    const PreviewLayout layout = Lay(Area(0, 0, 152, 112), factor);
    EXPECT_EQ(layout.FormWidth, 0) << factor;
    EXPECT_EQ(layout.ShownWidth, 0) << factor;
    EXPECT_TRUE(std::isfinite(layout.ImageWidth)) << factor;
  }
}

}  // namespace
}  // namespace orvane
