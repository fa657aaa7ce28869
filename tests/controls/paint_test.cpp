// The state pictures, and the control's paints on its image surface.
#include <gtest/gtest.h>

#include <array>

#include "host/controls/Command.h"
#include "host/controls/state_pictures.h"
#include "tests/controls/fakes.h"

namespace orvane {
namespace {

using testing::Rig;

struct Bands {
  Look look;
  std::array<std::uint32_t, 4> top;     // rows 0-3, centre column
  std::array<std::uint32_t, 4> bottom;  // rows 21-24
};

const Bands kBands[] = {
    {Look::Normal,
     {0xDCD6C2, 0x003C74, 0xF3F3EE, 0xF3F3EE},
     {0xE2DFD6, 0xD6D0C5, 0x003C74, 0xFAFAF6}},
    {Look::HighLight,
     {0xDCD6C2, 0x003C74, 0xFFF0CF, 0xFDD889},
     {0xF8B330, 0xE59700, 0x003C74, 0xFAFAF6}},
    {Look::Selected,
     {0xDCD6C2, 0x003C74, 0xCEE7FF, 0xCEE7FF},
     {0x6982EE, 0x6982EE, 0x003C74, 0xFAFAF6}},
    {Look::Pressed,
     {0xECE9D8, 0xDCD6C2, 0x003C74, 0xD1CCC1},
     {0xF2F1EE, 0x003C74, 0xFAFAF6, 0xECE9D8}},
    {Look::Disable,
     {0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA},
     {0xF5F4EA, 0xF5F4EA, 0xC9C7BA, 0xECE9D8}},
};

TEST(StatePictures, CarryEveryColourAtItsPlace) {
  const StatePictures& pictures = DefaultStatePictures();
  for (const Bands& b : kBands) {
    const Picture& p = pictures[b.look];
    SCOPED_TRACE(LookName(b.look));
    ASSERT_TRUE(p.Valid() && p.Width == 64 && p.Height == 25);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(p.At(32, i), b.top[i]) << "top row " << i;
      EXPECT_EQ(p.At(32, 21 + i), b.bottom[i]) << "bottom row " << 21 + i;
    }
  }
  EXPECT_EQ(pictures[Look::HighLight].Rgb, pictures[Look::HighLightSelect].Rgb);
  const std::uint32_t corner[4][4] = {{0xE9E7D5, 0xE4DFCE, 0xE1DDCA, 0xE0DCC9},
                                      {0xE4DFCE, 0xE6E1D0, 0x7A95A8, 0x255783},
                                      {0xE2DECB, 0x7A95A8, 0x557DA2, 0xC0CFDD},
                                      {0xE2DECB, 0x255783, 0xBFCEDC, 0xFEFEFE}};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(pictures[Look::Normal].At(x, y), corner[y][x]);
      if (x > 0 && y > 0 && x < 3 && y < 3) {  // Pressed: the corner moved one pixel inward
        EXPECT_EQ(pictures[Look::Pressed].At(x, y), corner[y - 1][x - 1]);
      }
    }
  }
  // The glows deepen down the sides.
  EXPECT_EQ(pictures[Look::HighLight].At(2, 4), 0xFEDF9Au);
  EXPECT_EQ(pictures[Look::HighLight].At(2, 20), 0xF9B435u);
  EXPECT_EQ(pictures[Look::Selected].At(2, 4), 0xB7D0F4u);
  EXPECT_EQ(pictures[Look::Selected].At(2, 20), 0x8BADE4u);
}

constexpr std::uint32_t kSentinel = 0xFF00FF;  // red 0xFF: never a coded pixel

// Pictures whose band pixels name their own position (red x, green y, blue the look) and
// whose never-drawn centre is a sentinel colour.
StatePictures CodedPictures() {
  StatePictures pictures;
  for (int look = 0; look < kLookCount; ++look) {
    Picture& p = pictures.Pictures[look];
    p.Width = 64;
    p.Height = 25;
    for (int y = 0; y < 25; ++y) {
      for (int x = 0; x < 64; ++x) {
        const bool centre = x >= 4 && x < 60 && y >= 4 && y < 21;
        const std::uint32_t c = centre ? kSentinel : (x << 16) | (y << 8) | look;
        p.Rgb.insert(p.Rgb.end(), {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
      }
    }
  }
  return pictures;
}

// Where a destination column or row of the frame must come from: the first and last four
// 1:1 from the picture's ends, the rest from the picture's middle, in order.
void ExpectFrameAxis(const std::vector<int>& sources, int side, const char* axis) {
  const int n = static_cast<int>(sources.size());
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(sources[i], i) << axis << " " << i;
    EXPECT_EQ(sources[n - 4 + i], side - 4 + i) << axis << " " << n - 4 + i;
  }
  for (int i = 4; i < n - 4; ++i) {
    EXPECT_GE(sources[i], 4) << axis << " " << i;
    EXPECT_LE(sources[i], side - 5) << axis << " " << i;
    if (i > 4) {
      EXPECT_GE(sources[i], sources[i - 1]) << axis << " " << i;
    }
  }
  // Squeezed, columns keep the middle's last pixel and rows its first; stretched, both.
  const bool columns = side == 64, squeezed = n < side;
  if (columns || !squeezed) EXPECT_EQ(sources[n - 5], side - 5) << axis;
  if (!columns || !squeezed) EXPECT_EQ(sources[4], 4) << axis;
}

TEST(CommandPaint, FramePiecesCopyCornersOneToOneAndStretchOrCompressTheEdges) {
  const StatePictures pictures = CodedPictures();
  struct Size {
    double w, h;
    int pw, ph;
  };
  // The dialog's buttons, a wide and tall one, and one narrower than the picture.
  for (const Size size : {Size{1215, 375, 81, 25}, Size{615, 375, 41, 25}, Size{2000, 600, 133, 40},
                          Size{390, 375, 26, 25}}) {
    SCOPED_TRACE(::testing::Message() << size.w << " x " << size.h);
    Rig rig(pictures);
    rig.SetUp(size.w, size.h);
    rig.control.PaintState(Look::Selected);
    const Surface& s = rig.control.Face();
    ASSERT_EQ(s.Width(), size.pw);
    ASSERT_EQ(s.Height(), size.ph);
    std::vector<int> columns, rows;
    for (int x = 0; x < s.Width(); ++x) columns.push_back(int(s.Pixel(x, 1) >> 16));
    for (int y = 0; y < s.Height(); ++y) rows.push_back(int(s.Pixel(1, y) >> 8 & 0xFF));
    ExpectFrameAxis(columns, 64, "column");
    ExpectFrameAxis(rows, 25, "row");
    for (int y = 0; y < s.Height(); ++y) {
      for (int x = 0; x < s.Width(); ++x) {
        const std::uint32_t p = s.Pixel(x, y);
        ASSERT_NE(p, kSentinel) << "picture centre drawn at " << x << "," << y;
        if (x < 4 || y < 4 || x >= s.Width() - 4 || y >= s.Height() - 4) {
          ASSERT_EQ(p & 0xFF, static_cast<std::uint32_t>(Look::Selected)) << x << "," << y;
        } else {
          ASSERT_GE(p >> 16, 0xC6u) << "gradient expected at " << x << "," << y;
        }
      }
    }
  }
}

TEST(CommandPaint, GradientColoursForEachDirectionAndTheCaptionsPlace) {
  Rig rig;
  rig.SetUp(615, 375);
  const CommandFields& f = rig.control.Fields();
  EXPECT_EQ(rig.control.Face().Pixel(1, 2), 0x7A95A8u);  // the rounded corner, 1:1
  for (const bool hovered : {false, true}) {             // HighLight puts the grey on top
    if (hovered) rig.control.OnMouseMove();
    const std::uint32_t top = hovered ? 0xC6C5D7 : 0xFFFFFF, bottom = hovered ? 0xFFFFFF : 0xC6C5D7;
    EXPECT_EQ(f.GradientVertices[0].Y, 0);
    EXPECT_EQ(f.GradientVertices[1].Y, 24);
    for (int i = 0; i < 2; ++i) {
      const std::uint32_t want = i == 0 ? top : bottom;
      const TriVertex& v = f.GradientVertices[i];
      EXPECT_EQ((v.Red >> 8) << 16 | (v.Green >> 8) << 8 | v.Blue >> 8, want) << hovered << i;
      EXPECT_EQ(v.Red & 0xFF, 0);
    }
  }
  const CaptionLabel& label = rig.control.Label();
  EXPECT_DOUBLE_EQ(label.Top, 80.0);
  EXPECT_DOUBLE_EQ(label.Height, 195.0);
  EXPECT_DOUBLE_EQ(label.Width, 615.0);
  rig.control.Resize(1215, 600);
  EXPECT_DOUBLE_EQ(rig.control.Label().Top, 192.5);
}

TEST(CommandPaint, OverflowingGeometryKeepsTheLastValuesAndTinyControlsDoNotBreak) {
  Rig rig;
  rig.SetUp();
  rig.control.Resize(40000, 600);
  EXPECT_EQ(rig.control.Geometry().MiddleWidth, 1095);
  EXPECT_EQ(rig.control.Geometry().RightColumn, 1155);
  EXPECT_EQ(rig.control.Geometry().MiddleHeight, 480);
  EXPECT_EQ(rig.paints.size(), 1u);  // the paint still ran
  rig.control.Resize(60, 30);        // edges of negative size are left out
  EXPECT_EQ(rig.control.Geometry().MiddleWidth, -60);
  rig.control.Resize(0, 0);
  EXPECT_EQ(rig.paints.size(), 3u);
}

// The caption as both shells draw it: its edges in pixels, its colour number read as blue,
// green, red, system colours black, and nothing for no text or no room.
TEST(CommandPaint, CaptionPaintInPixels) {
  CaptionLabel label;
  label.Text = "設定";
  label.Top = 80;
  label.Width = 1215;
  label.ForeColour = 0x0000FF;
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
    label.Text = c.text;
    label.Width = c.width;
    label.ForeColour = c.number;
    label.Enabled = c.enabled;
    const CaptionPaint paint = CaptionPaintOf(label, c.scale);
    EXPECT_EQ(paint.Drawn, c.drawn);
    EXPECT_EQ(std::vector<int>({paint.Box.X, paint.Box.Y, paint.Box.Width, paint.Box.Height}),
              std::vector<int>({c.box.X, c.box.Y, c.box.Width, c.box.Height}));
    EXPECT_EQ(paint.Colour, c.colour);
    EXPECT_EQ(paint.Greyed, !c.enabled);
  }
}

}  // namespace
}  // namespace orvane
