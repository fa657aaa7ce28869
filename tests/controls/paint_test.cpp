// The face each paint describes: the frame's eight pieces as the piece table places them, in
// pixels at two densities, the gradient's corners and colours, and the caption's box and colour.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "host/controls/Command.h"
#include "tests/controls/fakes.h"

namespace orvane {
namespace {

using testing::Rig;
using Box = std::array<int, 4>;  // x, y, width, height

std::vector<Box> Targets(const CommandFace& face) {
  std::vector<Box> boxes;
  for (int i = 0; i < face.PieceCount; ++i) {
    const Rect& r = face.Pieces[i].To;
    boxes.push_back({r.X, r.Y, r.Width, r.Height});
  }
  return boxes;
}

// The table's pieces in its order (top-left corner, top edge, top-right corner, right edge,
// bottom-right corner, bottom edge, bottom-left corner, left edge): the source rectangles of the
// 960 x 375-twip picture in its pixels, the targets in the control's at 96 and 120 dpi.
TEST(CommandFace, FramePiecesAsThePieceTablePlacesThem) {
  const std::vector<Box> sources = {{0, 0, 4, 4},   {4, 0, 56, 4},  {60, 0, 4, 4}, {60, 4, 4, 17},
                                    {60, 21, 4, 4}, {4, 21, 56, 4}, {0, 21, 4, 4}, {0, 4, 4, 17}};
  const struct {
    double twipsPerPixel, width;
    std::vector<Box> targets;
  } cases[] = {{15,
                1215,  // MW 1095, XR 1155: the edges stretched across, the sides copied 1:1
                {{0, 0, 4, 4},
                 {4, 0, 73, 4},
                 {77, 0, 4, 4},
                 {77, 4, 4, 17},
                 {77, 21, 4, 4},
                 {4, 21, 73, 4},
                 {0, 21, 4, 4},
                 {0, 4, 4, 17}}},
               {15,
                615,  // MW 495: the 56 source pixels squeezed into 33
                {{0, 0, 4, 4},
                 {4, 0, 33, 4},
                 {37, 0, 4, 4},
                 {37, 4, 4, 17},
                 {37, 21, 4, 4},
                 {4, 21, 33, 4},
                 {0, 21, 4, 4},
                 {0, 4, 4, 17}}},
               {12,
                1215,  // edges converted, not sizes: 61 twips end at pixel 5, 1155 at 96
                {{0, 0, 5, 5},
                 {5, 0, 91, 5},
                 {96, 0, 5, 5},
                 {96, 5, 5, 21},
                 {96, 26, 5, 5},
                 {5, 26, 91, 5},
                 {0, 26, 5, 5},
                 {0, 5, 5, 21}}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " at " << c.twipsPerPixel);
    Rig rig;
    rig.platform.scale = {c.twipsPerPixel, c.twipsPerPixel};
    rig.SetUp(c.width, 375);
    for (const Look look : {Look::Normal, Look::Pressed}) {
      rig.control.PaintState(look);
      const CommandFace face = rig.control.Face();
      EXPECT_EQ(face.Picture, look);
      EXPECT_EQ(Targets(face), c.targets);
      std::vector<Box> from;
      for (int i = 0; i < face.PieceCount; ++i) {
        const Rect& r = face.Pieces[i].From;
        from.push_back({r.X, r.Y, r.Width, r.Height});
      }
      EXPECT_EQ(from, sources);
    }
  }

  // Too narrow for the frame: the pieces of negative width or height are left out. Too wide for
  // 16-bit twips: the middle width and the right column stay as the last paint had them.
  Rig rig;
  rig.SetUp(60, 30);
  EXPECT_EQ(Targets(rig.control.Face()),
            (std::vector<Box>{{0, 0, 4, 4}, {0, 0, 4, 4}, {0, -2, 4, 4}, {0, -2, 4, 4}}));
  rig.control.Resize(1215, 375);
  rig.control.Resize(40000, 375);
  EXPECT_EQ(Targets(rig.control.Face())[1], (Box{4, 0, 73, 4}));
  EXPECT_EQ(Targets(rig.control.Face())[2], (Box{77, 0, 4, 4}));
}

// Vertex 0 at the top-left pixel, vertex 1 at the last column and row, the rectangle from vertex
// 1 to vertex 0; white (FF00 each) and lavender grey (C600, C500, D700), swapped in state 2.
TEST(CommandFace, GradientCornersAndColours) {
  Rig rig;
  rig.SetUp();
  const auto corners = [&] {
    const CommandFace face = rig.control.Face();
    std::vector<int> values;
    for (int i = 0; i < 4; ++i) {
      const TriVertex& v = face.Vertices[i];
      values.insert(values.end(), {v.X, v.Y, v.Red, v.Green, v.Blue, v.Alpha});
    }
    values.insert(values.end(), {int(face.GradientRect.UpperLeft),
                                 int(face.GradientRect.LowerRight), int(face.Background)});
    return values;
  };
  const std::vector<int> zero(12, 0);
  std::vector<int> white = {0, 0, 0xFF00, 0xFF00, 0xFF00, 0, 80, 24, 0xC600, 0xC500, 0xD700, 0};
  white.insert(white.end(), zero.begin(), zero.end());
  white.insert(white.end(), {1, 0, 0xECE9D8});
  EXPECT_EQ(corners(), white);
  rig.control.OnMouseMove();  // state 2: lavender grey on top
  std::vector<int> grey = {0, 0, 0xC600, 0xC500, 0xD700, 0, 80, 24, 0xFF00, 0xFF00, 0xFF00, 0};
  grey.insert(grey.end(), zero.begin(), zero.end());
  grey.insert(grey.end(), {1, 0, 0xECE9D8});
  EXPECT_EQ(corners(), grey);
}

// The caption: its label 80 twips from the top of a 375-twip button, 195 high, across the
// button, in pixels; its colour number read as blue, green, red, system colours black; nothing
// for no text or no room; greyed while disabled.
TEST(CommandFace, CaptionBoxAndColour) {
  const struct {
    double twipsPerPixel, width;
    std::string text;
    std::uint32_t number;
    bool enabled, drawn;
    std::vector<int> box;  // x, y, width, height
    std::uint32_t colour;
  } cases[] = {{15, 1215, "設定", 0x0000FF, true, true, {0, 5, 81, 13}, 0xFF0000},
               {12, 1215, "設定", 0x123456, true, true, {0, 7, 101, 16}, 0x563412},
               {15, 1215, "設定", 0x80000012, true, true, {0, 5, 81, 13}, 0},
               {15, 1215, "設定", 0x0000FF, false, true, {0, 5, 81, 13}, 0xFF0000},
               {15, 1215, "", 0, true, false, {0, 5, 81, 13}, 0},
               {15, 7, "...", 0, true, false, {0, 5, 0, 13}, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    Rig rig;
    rig.SetUp(c.width, 375);
    CaptionLabel label = rig.control.Label();
    label.Text = c.text;
    label.ForeColour = c.number;
    label.Enabled = c.enabled;
    const CaptionPaint paint = CaptionPaintOf(label, {c.twipsPerPixel, c.twipsPerPixel});
    EXPECT_EQ(std::vector<int>({paint.Box.X, paint.Box.Y, paint.Box.Width, paint.Box.Height}),
              c.box);
    EXPECT_EQ(paint.Drawn, c.drawn);
    EXPECT_EQ(paint.Colour, c.colour);
    EXPECT_EQ(paint.Greyed, !c.enabled);
  }
  Rig tall;
  tall.SetUp(1215, 600);  // the label keeps its height and sits 10 twips above the middle
  EXPECT_EQ(tall.control.Face().Caption.Box.Y, 13);
  tall.control.SetEnabled(false);
  EXPECT_TRUE(tall.control.Face().Caption.Greyed);
}

}  // namespace
}  // namespace orvane
