#include "host/preview_layout.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <tuple>

namespace orvane {
namespace {

PreviewLayout Lay(const Rect& host, float twipsPerPixel) {
  return LayOutPreview(host, twipsPerPixel, twipsPerPixel, 152, 112);
}

TEST(PreviewLayout, TwipsRoundHalvesToEvenAndOnlySixteenBitsFit) {
  const std::optional<int> none;
  const std::pair<double, std::optional<int>> cases[] = {
      {2.5, 2},           {3.5, 4},         {-2.5, -2},
      {2.5001, 3},        {32766.5, 32766}, {32767.5, none},
      {-32768.5, -32768}, {-32768.6, none}, {std::numeric_limits<double>::quiet_NaN(), none}};
  for (auto [value, rounded] : cases) EXPECT_EQ(RoundToInt16(value), rounded) << value;
  EXPECT_EQ(TwipsFromPixels(0.5f, 7), 4);
  EXPECT_EQ(TwipsFromPixels(15.0f, 2184), 32760);
  EXPECT_EQ(TwipsFromPixels(15.0f, 2185), 0) << "32775 twips do not fit: the value stays 0";
}

TEST(PreviewLayout, ThePictureIsCutOffNeverScaled) {
  const struct {
    Rect host;
    float twips;
    int widthTwips, formWidth, formHeight, shownWidth, shownHeight;
  } cases[] = {{{400, 300, 552, 412}, 15.0f, 2280, 152, 112, 152, 112},
               {{-50, 10, 102, 122}, 12.0f, 1824, 152, 112, 152, 112},
               {{0, 0, 300, 200}, 15.0f, 4500, 300, 200, 152, 112},  // black to the right and below
               {{0, 0, 90, 400}, 12.0f, 1080, 90, 400, 90, 112},
               {{0, 0, 2185, 600}, 15.0f, 0, 0, 600, 0, 112},  // too wide: that dimension stays 0
               {{0, 0, 2730, 10}, 12.0f, 32760, 2730, 10, 152, 10},
               {{100, 100, 40, 60}, 15.0f, -900, 0, 0, 0, 0},  // reversed
               {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 15.0f, 0, 0, 0, 0, 0},
               {{0, 0, 152, 112}, 0.0f, 0, 0, 0, 0, 0},
               {{0, 0, 152, 112}, -15.0f, -2280, 0, 0, 0, 0},
               {{0, 0, 152, 112}, std::numeric_limits<float>::infinity(), 0, 0, 0, 0, 0}};
  for (const auto& c : cases) {
    const PreviewLayout l = Lay(c.host, c.twips);
    EXPECT_EQ(l.WidthTwips, c.widthTwips) << c.host.right << " at " << c.twips;
    EXPECT_EQ(std::tuple(l.FormWidth, l.FormHeight, l.ShownWidth, l.ShownHeight),
              std::tuple(c.formWidth, c.formHeight, c.shownWidth, c.shownHeight))
        << c.host.right << " at " << c.twips;
    EXPECT_TRUE(std::isfinite(l.ImageWidth));
  }
}

TEST(PreviewLayout, AFormOfNoSizeStaysHiddenAndAPictureShowsOnlyWhereSomeOfItShows) {
  const struct {
    Rect host;
    int pictureWidth;
    bool formShown, pictureShown;
  } cases[] = {{{0, 0, 300, 200}, 152, true, true},
               {{0, 0, 2185, 600}, 152, false, false},  // too wide: 600 pixels high, yet hidden
               {{0, 0, 1, 600}, 152, true, true},
               {{0, 0, 300, 200}, 0, true, false},  // the picture could not be decoded
               {{0, 0, 0, 200}, 152, false, false}};
  for (const auto& c : cases) {
    const PreviewLayout l = LayOutPreview(c.host, 15.0f, 15.0f, c.pictureWidth, 112);
    EXPECT_EQ(l.FormShown(), c.formShown) << c.host.right;
    EXPECT_EQ(l.PictureShown(), c.pictureShown) << c.host.right;
  }
}

TEST(PreviewLayout, TheFormFillsTheCallersWindowAtAnyWholeDpi) {
  // Rounding to twips and back must give the caller's size again: a truncation anywhere
  // would leave a strip of the caller's window uncovered.
  for (int dpi : {72, 96, 97, 110, 120, 144, 150, 192}) {
    const float twipsPerPixel = static_cast<float>(1440.0 / dpi);
    for (int pixels = 1; pixels * twipsPerPixel <= 32767; pixels += 7) {
      const PreviewLayout layout = Lay(Rect{0, 0, pixels, pixels}, twipsPerPixel);
      ASSERT_EQ(layout.FormWidth, pixels) << dpi << " dpi";
      ASSERT_EQ(std::lround(layout.ImageWidth), pixels) << dpi << " dpi";
      ASSERT_EQ(layout.ShownWidth, std::min(pixels, 152)) << dpi << " dpi";
    }
  }
}

}  // namespace
}  // namespace orvane
