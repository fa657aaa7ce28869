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
  Rig rig;
  rig.SetUp();
  const Surface& face = rig.control.Face();
  for (const auto& l : looks) {
    rig.control.PaintState(l.look);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(face.Pixel(at[i][0], at[i][1]), l.pixels[i])
          << LookName(l.look) << " at " << at[i][0] << "," << at[i][1];
    }
  }
  // Between the bands, the gradient from white (0xFFFFFF) down to grey-blue (0xC6C5D7).
  EXPECT_EQ(std::vector<std::uint32_t>({face.Pixel(40, 4), face.Pixel(40, 20)}),
            std::vector<std::uint32_t>({0xF5F5F8, 0xCFCEDD}));
}

// At any size the frame keeps its width and its corners: the dialog's buttons, a wide and tall
// one, and one narrower than the picture. Points to the right and below count from those edges.
TEST(CommandPaint, FrameAtAnySize) {
  const int at[][2] = {{1, 2}, {-2, 2}, {1, -3}, {-2, -3}, {-1, 12}, {-4, 12}, {12, -1}, {12, -2}};
  const std::uint32_t want[] = {0x7A95A8, 0x66869E, 0x6787A1, 0x6B8CA7,
                                0xF0EEE0, 0xEEEDE7, 0xFAFAF6, 0x003C74};
  Rig rig;
  rig.SetUp();
  for (const auto& [w, h, pw, ph] :
       {std::array{1215, 375, 81, 25}, std::array{615, 375, 41, 25}, std::array{2000, 600, 133, 40},
        std::array{390, 375, 26, 25}}) {
    rig.control.Resize(w, h);
    const Surface& s = rig.control.Face();
    ASSERT_EQ(std::vector<int>({s.Width(), s.Height()}), std::vector<int>({pw, ph}));
    for (int i = 0; i < 8; ++i) {
      const int x = at[i][0] < 0 ? pw + at[i][0] : at[i][0],
                y = at[i][1] < 0 ? ph + at[i][1] : at[i][1];
      EXPECT_EQ(s.Pixel(x, y), want[i]) << w << " x " << h << " at " << x << "," << y;
    }
  }
  rig.paints.clear();  // sizes too big for the geometry's numbers or too small for the frame
  for (const double w : {40000.0, 60.0, 0.0}) rig.control.Resize(w, 30);
  EXPECT_EQ(rig.paints.size(), 3u);
}

// The caption as both shells draw it: its label 80 twips from the top of a 375-twip button,
// 195 high, across the button, in pixels; its colour number read as blue, green, red, system
// colours black; nothing for no text or no room.
TEST(CommandPaint, CaptionPaintInPixels) {
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
  EXPECT_EQ(CaptionPaintOf(tall.control.Label(), {15, 15}).Box.Y, 13);
}

}  // namespace
}  // namespace orvane
