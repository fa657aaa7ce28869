#include "host/preview_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <limits>
#include <tuple>

namespace orvane {
namespace {

// The picture (152 × 112) is cut off, never scaled; a form of no size stays hidden, and the
// picture shows only where some of it shows.
TEST(PreviewLayout, ThePictureIsCutOffNeverScaled) {
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    std::array<std::int64_t, 4> edges;  // left, top, right, bottom
    float twips;
    int pictureWidth, widthTwips, formWidth, formHeight, shownWidth, shownHeight;
    bool formShown, pictureShown;
  } cases[] = {
      {{400, 300, 552, 412}, 15.0f, 152, 2280, 152, 112, 152, 112, true, true},
      {{0, 0, 300, 200}, 15.0f, 152, 4500, 300, 200, 152, 112, true, true},  // black beyond
      {{0, 0, 300, 200}, 15.0f, 0, 4500, 300, 200, 0, 112, true, false},     // not decoded
      {{0, 0, 90, 400}, 12.0f, 152, 1080, 90, 400, 90, 112, true, true},
      {{0, 0, 2185, 600}, 15.0f, 152, 0, 0, 600, 0, 112, false, false},  // too wide: hidden
      {{0, 0, 2730, 10}, 12.0f, 152, 32760, 2730, 10, 152, 10, true, true},
      {{100, 100, 40, 60}, 15.0f, 152, -900, 0, 0, 0, 0, false, false},  // reversed
      {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 15.0f, 152, 0, 0, 0, 0, 0, false, false},
      {{0, 0, 152, 112}, 0.0f, 152, 0, 0, 0, 0, 0, false, false},
      {{0, 0, 152, 112}, inf, 152, 0, 0, 0, 0, 0, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.edges[2]) + " at " + std::to_string(c.twips));
    const Rect host = Rect::FromEdges(c.edges[0], c.edges[1], c.edges[2], c.edges[3]);
    const PreviewLayout l = LayOutPreview(host, c.twips, c.twips, c.pictureWidth, 112);
    EXPECT_EQ(std::tuple(l.WidthTwips, l.FormWidth, l.FormHeight, l.ShownWidth, l.ShownHeight),
              std::tuple(c.widthTwips, c.formWidth, c.formHeight, c.shownWidth, c.shownHeight));
    EXPECT_EQ(std::pair(l.FormShown(), l.PictureShown()), std::pair(c.formShown, c.pictureShown));
    EXPECT_TRUE(std::isfinite(l.ImageWidth));
  }
}

}  // namespace
}  // namespace orvane
