// The caption drawn with the real fonts into a cairo image, no display needed.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/controls/caption_painter_gtk.h"

namespace orvane {
namespace {

struct Ink {
  int minX = 1 << 20, maxX = -1, minY = 1 << 20, maxY = -1, count = 0;
};

// Draws the label on white and finds the pixels that a test says are ink.
template <typename IsInk>
Ink Draw(const CaptionLabel& label, int width, int height, IsInk isInk) {
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(image);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  DrawCaption(cr, label, TwipsScale{});
  cairo_destroy(cr);
  cairo_surface_flush(image);
  const unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  Ink ink;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
      if (!isInk((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF)) continue;
      ++ink.count;
      ink.minX = std::min(ink.minX, x);
      ink.maxX = std::max(ink.maxX, x);
      ink.minY = std::min(ink.minY, y);
      ink.maxY = std::max(ink.maxY, y);
    }
  }
  cairo_surface_destroy(image);
  return ink;
}

CaptionLabel DialogLabel(const char* text, double width) {
  CaptionLabel label;
  label.Text = text;
  label.Top = 80;  // a 375-twip button
  label.Width = width;
  return label;
}

const auto kDark = [](int r, int g, int b) { return r < 128 && g < 128 && b < 128; };

TEST(CommandCaption, SitsInItsLabelFromTheTopAt80TwipsCentredAcrossTheButton) {
  for (const auto& [text, width] :
       {std::pair{"設定", 1215.0}, {"ｷｬﾝｾﾙ", 1215.0}, {"...", 615.0}, {"Command", 1215.0}}) {
    SCOPED_TRACE(text);
    const int pixels = static_cast<int>(width / 15);
    const Ink ink = Draw(DialogLabel(text, width), pixels, 25, kDark);
    ASSERT_GT(ink.count, 0);
    EXPECT_GE(ink.minY, 5);   // 80 twips
    EXPECT_LE(ink.maxY, 17);  // the label's 13 pixels
    EXPECT_LE(std::abs((ink.minX + ink.maxX) - (pixels - 1)), 3) << ink.minX << ".." << ink.maxX;
  }
  // The colour number is blue-green-red; a disabled caption has no ink of that colour.
  CaptionLabel red = DialogLabel("設定", 1215);
  red.ForeColour = 0x0000FF;
  const auto isRed = [](int r, int g, int b) { return r > 200 && g + b < 120; };
  EXPECT_GT(Draw(red, 81, 25, isRed).count, 5);
  red.Enabled = false;
  EXPECT_EQ(Draw(red, 81, 25, isRed).count, 0);
  // Kanji fill the line: their ink starts within two pixels of the label's top.
  EXPECT_LE(Draw(DialogLabel("設定", 1215), 81, 25, kDark).minY, 7);
}

}  // namespace
}  // namespace orvane
