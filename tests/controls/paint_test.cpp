// The control's face as it paints it: each look, the frame's pieces at any size, the gradient,
// and the caption as both shells draw it.
#include <gtest/gtest.h>

#include "host/controls/Command.h"
#include "tests/controls/fakes.h"

namespace orvane {
namespace {

using testing::Rig;

// Chosen pixels of a 1215 x 375 twip face (81 x 25 pixels): the frame's line and the band
// inside it at the top and bottom, mid-way along, the left glow, and the rounded corner.
TEST(CommandPaint, EachLookAtChosenPixels) {
  const int at[][2] = {{40, 1}, {40, 3}, {40, 22}, {2, 12}, {1, 2}};
  const struct {
    Look look;
    std::uint32_t pixels[5];
  } looks[] = {{Look::Normal, {0x003C74, 0xF3F3EE, 0xD6D0C5, 0xF4F4F0, 0x7A95A8}},
               {Look::HighLight, {0x003C74, 0xFDD889, 0xE59700, 0xFCCA69, 0x628299}},
               {Look::HighLightSelect, {0x003C74, 0xFDD889, 0xE59700, 0xFCCA69, 0x628299}},
               {Look::Selected, {0x003C74, 0xCEE7FF, 0x6982EE, 0xA9C5EF, 0x628299}},
               {Look::Pressed, {0xDCD6C2, 0xD1CCC1, 0x003C74, 0x003C74, 0xE4DFCE}},
               {Look::Disable, {0xC9C7BA, 0xF5F4EA, 0xF5F4EA, 0xF5F4EA, 0xD8D5C7}}};
  for (const auto& l : looks) {
    Rig rig;
    rig.SetUp();
    rig.control.PaintState(l.look);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(rig.control.Face().Pixel(at[i][0], at[i][1]), l.pixels[i])
          << LookName(l.look) << " at " << at[i][0] << "," << at[i][1];
    }
  }
}

constexpr std::uint32_t kSentinel = 0xFF00FF;  // red 0xFF: never a coded pixel

// Pictures whose frame pixels name their own position (red x, green y) and whose centre,
// never drawn, is a sentinel.
StatePictures CodedPictures() {
  StatePictures pictures;
  for (Picture& p : pictures.Pictures) {
    p.Width = 64;
    p.Height = 25;
    for (int y = 0; y < 25; ++y) {
      for (int x = 0; x < 64; ++x) {
        const bool centre = x >= 4 && x < 60 && y >= 4 && y < 21;
        p.Rgb.insert(p.Rgb.end(), {std::uint8_t(centre ? 0xFF : x), std::uint8_t(centre ? 0 : y),
                                   std::uint8_t(centre ? 0xFF : 0)});
      }
    }
  }
  return pictures;
}

// A face column or row's source: the first and last four 1:1 from the picture's ends, the
// rest from the picture's middle, in order.
void ExpectFrameAxis(const std::vector<int>& sources, int side) {
  const int n = static_cast<int>(sources.size());
  for (int i = 0; i < n; ++i) {
    SCOPED_TRACE(i);
    if (i < 4 || i >= n - 4) {
      EXPECT_EQ(sources[i], i < 4 ? i : side - n + i);
    } else {
      EXPECT_GE(sources[i], i == 4 ? 4 : sources[i - 1]);
      EXPECT_LE(sources[i], side - 5);
    }
  }
}

// The dialog's buttons, a wide and tall one, one narrower than the picture; then sizes too
// big for the geometry's numbers and too small for the frame, which still paint.
TEST(CommandPaint, FramePiecesCopyCornersOneToOneAndStretchOrCompressTheEdges) {
  const StatePictures pictures = CodedPictures();
  Rig rig(pictures);
  rig.SetUp();
  for (const auto& [w, h, pw, ph] :
       {std::array{1215, 375, 81, 25}, std::array{615, 375, 41, 25}, std::array{2000, 600, 133, 40},
        std::array{390, 375, 26, 25}}) {
    SCOPED_TRACE(::testing::Message() << w << " x " << h);
    rig.control.Resize(w, h);
    const Surface& s = rig.control.Face();
    ASSERT_EQ(std::vector<int>({s.Width(), s.Height()}), std::vector<int>({pw, ph}));
    std::vector<int> columns, rows;
    for (int x = 0; x < s.Width(); ++x) columns.push_back(int(s.Pixel(x, 1) >> 16));
    for (int y = 0; y < s.Height(); ++y) rows.push_back(int(s.Pixel(1, y) >> 8 & 0xFF));
    ExpectFrameAxis(columns, 64);
    ExpectFrameAxis(rows, 25);
    for (int y = 0; y < s.Height(); ++y) {
      for (int x = 0; x < s.Width(); ++x) ASSERT_NE(s.Pixel(x, y), kSentinel) << x << "," << y;
    }
  }
  rig.paints.clear();
  for (const double w : {40000.0, 60.0, 0.0}) rig.control.Resize(w, 30);
  EXPECT_EQ(rig.paints.size(), 3u);
}

// White on top, grey-blue at the bottom; the other way round while hovered.
TEST(CommandPaint, GradientEnds) {
  Rig rig;
  rig.SetUp(615, 375);
  for (const bool hovered : {false, true}) {
    if (hovered) rig.control.OnMouseMove();
    const auto& v = rig.control.Fields().GradientVertices;
    EXPECT_EQ(std::vector<int>({v[0].Y, v[1].Y}), std::vector<int>({0, 24}));
    std::uint32_t rgb[2];
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ((v[i].Red | v[i].Green | v[i].Blue) & 0xFF, 0);
      rgb[i] = (v[i].Red >> 8) << 16 | (v[i].Green >> 8) << 8 | v[i].Blue >> 8;
    }
    EXPECT_EQ(rgb[0], hovered ? 0xC6C5D7u : 0xFFFFFFu);
    EXPECT_EQ(rgb[1], hovered ? 0xFFFFFFu : 0xC6C5D7u);
  }
}

// The caption as both shells draw it: its label 80 twips from the top of a 375-twip button,
// 195 high, across the button, in pixels; its colour number read as blue, green, red, system
// colours black; nothing for no text or no room.
TEST(CommandPaint, CaptionPaintInPixels) {
  const struct {
    TwipsScale scale;
    std::string text;
    double width;
    std::uint32_t number;
    bool enabled;
    bool drawn;
    PixelRect box;
    std::uint32_t colour;
  } cases[] = {{{15, 15}, "設定", 1215, 0x0000FF, true, true, {0, 5, 81, 13}, 0xFF0000},
               {{12, 12}, "設定", 1215, 0x123456, true, true, {0, 7, 101, 16}, 0x563412},
               {{15, 15}, "設定", 1215, 0x80000012, true, true, {0, 5, 81, 13}, 0},
               {{15, 15}, "設定", 1215, 0x0000FF, false, true, {0, 5, 81, 13}, 0xFF0000},
               {{15, 15}, "", 1215, 0, true, false, {0, 5, 81, 13}, 0},
               {{15, 15}, "...", 7, 0, true, false, {0, 5, 0, 13}, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    Rig rig;
    rig.SetUp(c.width, 375);
    CaptionLabel label = rig.control.Label();
    label.Text = c.text;
    label.ForeColour = c.number;
    label.Enabled = c.enabled;
    const CaptionPaint paint = CaptionPaintOf(label, c.scale);
    EXPECT_EQ(paint.Drawn, c.drawn);
    EXPECT_EQ(std::vector<int>({paint.Box.X, paint.Box.Y, paint.Box.Width, paint.Box.Height}),
              std::vector<int>({c.box.X, c.box.Y, c.box.Width, c.box.Height}));
    EXPECT_EQ(paint.Colour, c.colour);
    EXPECT_EQ(paint.Greyed, !c.enabled);
  }
  Rig tall;
  tall.SetUp(1215, 600);  // the label keeps its height and sits 10 twips above the middle
  EXPECT_EQ(CaptionPaintOf(tall.control.Label(), {15, 15}).Box.Y, 13);
}

}  // namespace
}  // namespace orvane
