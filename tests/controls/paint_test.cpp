// The face each paint describes: the frame's eight pieces and the caption's box and colour.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "host/controls/Command.h"
#include "tests/controls/fakes.h"

namespace orvane {
namespace {

using testing::Rig;
using Box = std::array<int, 4>;  // x, y, width, height

Box BoxOf(const Rect& r) {
  return {r.X, r.Y, r.Width, r.Height};
}

// The pieces' target rectangles, or with `sources` their source rectangles in the picture.
std::vector<Box> Targets(const CommandFace& face, bool sources = false) {
  std::vector<Box> boxes;
  for (int i = 0; i < face.PieceCount; ++i)
    boxes.push_back(BoxOf(sources ? face.Pieces[i].From : face.Pieces[i].To));
  return boxes;
}

// The pieces clockwise from the top-left corner: their sources in the 960 x 375-twip picture's
// pixels, and their targets at 120 dpi, where the edges are converted, not the sizes: 61 twips
// end at pixel 5, 1155 at 96.
TEST(CommandFace, FramePiecesAsThePieceTablePlacesThem) {
  Rig rig({12, 12});
  rig.SetUp(1215, 375);
  rig.control.PaintState(Look::Pressed);
  const CommandFace face = rig.control.Face();
  EXPECT_EQ(face.Picture, Look::Pressed);
  // clang-format off
  EXPECT_EQ(Targets(face), (std::vector<Box>{{0, 0, 5, 5}, {5, 0, 91, 5}, {96, 0, 5, 5},
      {96, 5, 5, 21}, {96, 26, 5, 5}, {5, 26, 91, 5}, {0, 26, 5, 5}, {0, 5, 5, 21}}));
  EXPECT_EQ(Targets(face, true), (std::vector<Box>{{0, 0, 4, 4}, {4, 0, 56, 4}, {60, 0, 4, 4},
      {60, 4, 4, 17}, {60, 21, 4, 4}, {4, 21, 56, 4}, {0, 21, 4, 4}, {0, 4, 4, 17}}));
  // clang-format on
  // The window's 100 x 30 pixels are 1200 x 360 twips: the top edge runs from 60 to 1140.
  rig.control.ResizePixels(100, 30);
  EXPECT_EQ(Targets(rig.control.Face())[1], (Box{5, 0, 90, 5}));
  // Placed in twips, a control gets whole pixels, at least one.
  EXPECT_EQ(BoxOf(PlacedPixels({12, 12}, 4740, 3000, 1215, 5)), (Box{395, 250, 101, 1}));

  // Too narrow for the frame: the pieces of negative width or height are left out. Too wide for
  // 16-bit twips: the middle width and the right column stay as the last paint had them.
  Rig small;
  small.SetUp(60, 30);
  EXPECT_EQ(Targets(small.control.Face()),
            (std::vector<Box>{{0, 0, 4, 4}, {0, 0, 4, 4}, {0, -2, 4, 4}, {0, -2, 4, 4}}));
  small.control.Resize(1215, 375);
  small.control.Resize(40000, 375);
  EXPECT_EQ(Targets(small.control.Face())[1], (Box{4, 0, 73, 4}));
  EXPECT_EQ(Targets(small.control.Face())[2], (Box{77, 0, 4, 4}));
}

// The caption: its label 80 twips from the top of a 375-twip button (10 above the middle), 195
// high, across the button, in pixels; its colour number read as blue, green, red, system colours
// black; nothing for no text or no room; greyed while disabled.
TEST(CommandFace, CaptionBoxAndColour) {
  const struct {
    double twipsPerPixel, width, height;
    std::string text;
    std::uint32_t number;
    bool enabled, drawn;
    Box box;
    std::uint32_t colour;
  } cases[] = {{15, 1215, 375, "設定", 0x0000FF, true, true, {0, 5, 81, 13}, 0xFF0000},
               {12, 1215, 375, "設定", 0x123456, true, true, {0, 7, 101, 16}, 0x563412},
               {15, 1215, 600, "設定", 0x123456, true, true, {0, 13, 81, 13}, 0x563412},
               {15, 1215, 375, "設定", 0x80000012, true, true, {0, 5, 81, 13}, 0},
               {15, 1215, 375, "設定", 0x0000FF, false, true, {0, 5, 81, 13}, 0xFF0000},
               {15, 1215, 375, "", 0, true, false, {0, 5, 81, 13}, 0},
               {15, 7, 375, "...", 0, true, false, {0, 5, 0, 13}, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    Rig rig({c.twipsPerPixel, c.twipsPerPixel});
    rig.SetUp(c.width, c.height);
    rig.control.SetCaption(c.text);
    rig.control.SetFontColour(c.number);
    rig.control.SetEnabled(c.enabled);
    const CaptionPaint caption = rig.control.Face().Caption;
    EXPECT_EQ(
        std::tuple(BoxOf(caption.Box), caption.Drawn, caption.Text, caption.Colour, caption.Greyed),
        std::tuple(c.box, c.drawn, c.text, c.colour, !c.enabled));
  }
}

}  // namespace
}  // namespace orvane
