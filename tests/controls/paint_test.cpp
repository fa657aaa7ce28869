#include <gtest/gtest.h>

#include "host/controls/Command.h"
#include "tests/controls/fakes.h"

namespace orvane {
namespace {

using testing::Rig;

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
        p.Rgb.push_back(static_cast<std::uint8_t>(c >> 16));
        p.Rgb.push_back(static_cast<std::uint8_t>(c >> 8));
        p.Rgb.push_back(static_cast<std::uint8_t>(c));
      }
    }
  }
  return pictures;
}

int SourceX(std::uint32_t p) {
  return static_cast<int>(p >> 16);
}
int SourceY(std::uint32_t p) {
  return static_cast<int>((p >> 8) & 0xFF);
}

// Where a destination column or row of the frame must come from: the first and last four
// 1:1 from the picture's ends, the rest from the picture's middle, in order.
void ExpectFrameAxis(const std::vector<int>& sources, int pictureSide, const char* axis) {
  const int n = static_cast<int>(sources.size());
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(sources[i], i) << axis << " " << i;
    EXPECT_EQ(sources[n - 4 + i], pictureSide - 4 + i) << axis << " " << n - 4 + i;
  }
  for (int i = 4; i < n - 4; ++i) {
    EXPECT_GE(sources[i], 4) << axis << " " << i;
    EXPECT_LE(sources[i], pictureSide - 5) << axis << " " << i;
    if (i > 4) {
      EXPECT_GE(sources[i], sources[i - 1]) << axis << " " << i;
    }
  }
  // Unless squeezed hard, the middle starts and ends with the picture's middle.
  if (n - 8 >= (pictureSide - 8) / 2) {
    EXPECT_EQ(sources[4], 4) << axis;
    EXPECT_EQ(sources[n - 5], pictureSide - 5) << axis;
  }
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
    for (int x = 0; x < s.Width(); ++x) columns.push_back(SourceX(s.Pixel(x, 1)));
    for (int y = 0; y < s.Height(); ++y) rows.push_back(SourceY(s.Pixel(1, y)));
    ExpectFrameAxis(columns, 64, "column");
    ExpectFrameAxis(rows, 25, "row");
    if (size.h == 375) {
      for (int y = 0; y < 25; ++y) EXPECT_EQ(rows[y], y) << "side edges are copied 1:1";
    }
    for (int y = 0; y < s.Height(); ++y) {
      for (int x = 0; x < s.Width(); ++x) {
        const std::uint32_t p = s.Pixel(x, y);
        ASSERT_NE(p, kSentinel) << "picture centre drawn at " << x << "," << y;
        const bool band = x < 4 || y < 4 || x >= s.Width() - 4 || y >= s.Height() - 4;
        if (band) {
          ASSERT_EQ(p & 0xFF, static_cast<std::uint32_t>(Look::Selected)) << x << "," << y;
        } else {
          ASSERT_GE(p >> 16, 0xC6u) << "gradient expected at " << x << "," << y;
        }
      }
    }
  }
}

TEST(CommandPaint, DialogButtonsShowThePictureColoursAndTheirCaptionPlace) {
  for (const double width : {1215.0, 615.0}) {
    Rig rig;
    rig.SetUp(width, 375);
    const Surface& s = rig.control.Face();
    const int right = s.Width() - 1;
    EXPECT_EQ(s.Pixel(s.Width() / 2, 0), 0xDCD6C2u);
    EXPECT_EQ(s.Pixel(s.Width() / 2, 1), 0x003C74u);
    EXPECT_EQ(s.Pixel(s.Width() / 2, 23), 0x003C74u);
    EXPECT_EQ(s.Pixel(s.Width() / 2, 24), 0xFAFAF6u);
    EXPECT_EQ(s.Pixel(0, 12), 0xE2DECBu);
    EXPECT_EQ(s.Pixel(right, 12), 0xF0EEE0u);
    EXPECT_EQ(s.Pixel(right - 1, 12), 0x003C74u);
    EXPECT_EQ(s.Pixel(1, 2), 0x7A95A8u);  // the rounded corner, 1:1

    const CaptionLabel& label = rig.control.Label();
    EXPECT_DOUBLE_EQ(label.Top, 80.0);
    EXPECT_DOUBLE_EQ(label.Height, 195.0);
    EXPECT_DOUBLE_EQ(label.Left, 0.0);
    EXPECT_DOUBLE_EQ(label.Width, width);
  }
  Rig tall;
  tall.SetUp(1215, 600);
  EXPECT_DOUBLE_EQ(tall.control.Label().Top, 192.5);
}

bool WhiteOnTop(const Command& control) {
  const Surface& s = control.Face();
  return (s.Pixel(s.Width() / 2, 4) & 0xFF) > (s.Pixel(s.Width() / 2, s.Height() - 5) & 0xFF);
}

TEST(CommandPaint, GradientVerticesAndDirection) {
  Rig rig;
  rig.SetUp();
  const CommandFields& f = rig.control.Fields();
  EXPECT_TRUE(WhiteOnTop(rig.control));
  EXPECT_EQ(f.GradientVertices[0].X, 0);
  EXPECT_EQ(f.GradientVertices[0].Red, 0xFF00);
  EXPECT_EQ(f.GradientVertices[1].X, 80);
  EXPECT_EQ(f.GradientVertices[1].Y, 24);
  // Lavender grey read in red-green-blue order.
  EXPECT_EQ(f.GradientVertices[1].Red, 0xC600);
  EXPECT_EQ(f.GradientVertices[1].Green, 0xC500);
  EXPECT_EQ(f.GradientVertices[1].Blue, 0xD700);
  EXPECT_EQ(f.GradientVertices[1].Alpha, 0);
  EXPECT_EQ(f.GradientVertices[2].X, 0);
  EXPECT_EQ(f.GradientVertices[3].Red, 0);
  EXPECT_EQ(f.GradientRect.UpperLeft, 1u);
  EXPECT_EQ(f.GradientRect.LowerRight, 0u);

  rig.control.OnMouseMove();  // HighLight: grey on top
  EXPECT_FALSE(WhiteOnTop(rig.control));
  EXPECT_EQ(f.GradientVertices[0].Red, 0xC600);
  EXPECT_EQ(f.GradientVertices[1].Red, 0xFF00);
}

TEST(CommandPaint, OverflowingGeometryKeepsTheLastValuesAndTinyControlsDoNotBreak) {
  Rig rig;
  rig.SetUp();
  EXPECT_EQ(rig.control.Geometry().MiddleWidth, 1095);
  EXPECT_EQ(rig.control.Geometry().RightColumn, 1155);
  rig.control.Resize(40000, 600);
  EXPECT_EQ(rig.control.Geometry().MiddleWidth, 1095);
  EXPECT_EQ(rig.control.Geometry().RightColumn, 1155);
  EXPECT_EQ(rig.control.Geometry().MiddleHeight, 480);
  EXPECT_EQ(rig.control.Geometry().BottomRow, 540);
  EXPECT_EQ(rig.paints.size(), 1u);  // the paint still ran

  rig.control.Resize(60, 30);  // edges of negative size are left out
  EXPECT_EQ(rig.control.Geometry().MiddleWidth, -60);
  rig.control.Resize(0, 0);
  EXPECT_EQ(rig.paints.size(), 3u);
}

TEST(CommandPaint, DisabledLookWhateverTheStateAndReEnablingKeepsTheState) {
  Rig rig;
  rig.SetUp();
  rig.control.OnGotFocus();
  rig.control.OnMouseMove();
  ASSERT_EQ(rig.control.Fields().State, CommandState::HighLightSelect);
  rig.paints.clear();
  rig.control.SetEnabled(false);
  EXPECT_EQ(rig.paints, std::vector<Look>{Look::Disable});
  EXPECT_FALSE(rig.control.Label().Enabled);
  EXPECT_EQ(rig.control.Face().Pixel(40, 1), 0xC9C7BAu);
  rig.control.Resize(1500, 375);  // a resize while disabled paints Disable again
  EXPECT_EQ(rig.paints.back(), Look::Disable);
  rig.control.SetEnabled(true);
  EXPECT_EQ(rig.paints.back(), Look::Normal);
  EXPECT_TRUE(rig.control.Label().Enabled);
  EXPECT_EQ(rig.control.Fields().State, CommandState::HighLightSelect);
}

TEST(CommandPaint, ColourTexts) {
  EXPECT_EQ(ColourFromHexText("&HC6C5D7"), 0xC6C5D7u);
  EXPECT_EQ(ColourFromHexText("&hffffff"), 0xFFFFFFu);
  EXPECT_EQ(ColourFromHexText("255"), 255u);
  EXPECT_FALSE(ColourFromHexText("&H"));
  EXPECT_FALSE(ColourFromHexText("&H1000000"));
  EXPECT_FALSE(ColourFromHexText("&HC6C5DZ"));
  EXPECT_FALSE(ColourFromHexText(""));
}

}  // namespace
}  // namespace orvane
