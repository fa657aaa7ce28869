#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "host/controls/Command.h"
#include "tests/controls/fakes.h"
#ifdef _WIN32
#include "host/controls/face_painter_win32.h"
#include "host/controls/picture_bitmap_win32.h"
#else
#include "host/controls/face_painter_gtk.h"
#endif

namespace orvane {
namespace {

using testing::Rig;
using Box = std::array<int, 4>;  // x, y, width, height

Box BoxOf(const Rect& r) {
  return {r.X, r.Y, r.Width, r.Height};
}

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
  } cases[] = {{12, 1215, 375, "設定", 0x123456, true, true, {0, 7, 101, 16}, 0x563412},
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

// What lies under the control before the face is drawn.
constexpr std::uint32_t kUnder = 0x123456;

struct Drawn {
  int width = 0;
  std::vector<std::uint32_t> pixels;  // 0xRRGGBB, row by row
  std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The face drawn over kUnder, without its caption.
Drawn Draw(CommandFace face) {
  face.Caption.Drawn = false;
  Drawn drawn{face.Width, {}};
#ifdef _WIN32
  MemoryBitmap bitmap(MakeDib(face.Width, face.Height));
  HBRUSH under = CreateSolidBrush(ColourOf(kUnder));
  const RECT all{0, 0, face.Width, face.Height};
  FillRect(bitmap.Dc(), &all, under);
  DeleteObject(under);
  DrawFace(bitmap.Dc(), face, {});
  for (int y = 0; y < face.Height; ++y)
    for (int x = 0; x < face.Width; ++x) {
      const COLORREF c = GetPixel(bitmap.Dc(), x, y);
      drawn.pixels.push_back((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    }
#else
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, face.Width, face.Height);
  cairo_t* cr = cairo_create(image);
  SetSourceColour(cr, kUnder);
  cairo_paint(cr);
  DrawFace(cr, face, {});
  cairo_destroy(cr);
  cairo_surface_flush(image);
  const unsigned char* data = cairo_image_surface_get_data(image);
  for (int y = 0; y < face.Height; ++y) {
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(data + y * cairo_image_surface_get_stride(image));
    for (int x = 0; x < face.Width; ++x) drawn.pixels.push_back(row[x] & 0xFFFFFF);
  }
  cairo_surface_destroy(image);
#endif
  return drawn;
}

// Within one step of each channel: the gradient's rows, which each toolkit rounds its own way.
bool Near(std::uint32_t a, std::uint32_t b) {
  for (int shift : {0, 8, 16})
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 1) return false;
  return true;
}

// Chosen pixels of a 1215 x 375 twip face (81 x 25 pixels): the frame's line and the band inside
// it at the top and bottom, mid-way along, the left glow, and the rounded corner; between the
// bands the gradient, white (FFFFFF) to lavender grey (C6C5D7) down, or back up in state 2.
TEST(CommandFaceDrawn, EachLookAndTheGradientBothWaysUp) {
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
  for (const bool greyOnTop : {false, true}) {
    if (greyOnTop) rig.control.OnMouseMove();  // state 2
    for (const auto& l : looks) {
      rig.control.PaintState(l.look);
      const Drawn drawn = Draw(rig.control.Face());
      for (int i = 0; i < 5; ++i)
        EXPECT_EQ(drawn.At(at[i][0], at[i][1]), l.pixels[i])
            << "look " << static_cast<int>(l.look) << " at " << at[i][0] << "," << at[i][1];
      const std::uint32_t top = greyOnTop ? 0xCFCEDD : 0xF5F5F8;
      const std::uint32_t bottom = greyOnTop ? 0xF5F5F8 : 0xCFCEDD;
      EXPECT_TRUE(Near(drawn.At(40, 4), top)) << std::hex << drawn.At(40, 4);
      EXPECT_TRUE(Near(drawn.At(40, 20), bottom)) << std::hex << drawn.At(40, 20);
    }
  }
}

// At the dialog's two widths the frame keeps its width and its corners (negative points count
// from the right and bottom edges).
TEST(CommandFaceDrawn, FrameAtBothWidths) {
  const int at[][2] = {{1, 2}, {-2, 2}, {1, -3}, {-2, -3}, {-1, 12}, {-4, 12}, {12, -1}, {12, -2}};
  const std::uint32_t want[] = {0x7A95A8, 0x66869E, 0x6787A1, 0x6B8CA7,
                                0xF0EEE0, 0xEEEDE7, 0xFAFAF6, 0x003C74};
  Rig rig;
  rig.SetUp();
  for (const auto& [w, pw] : {std::pair{1215, 81}, {615, 41}}) {
    rig.control.Resize(w, 375);
    const Drawn drawn = Draw(rig.control.Face());
    ASSERT_EQ(drawn.pixels.size(), static_cast<size_t>(pw * 25));
    for (int i = 0; i < 8; ++i) {
      const int x = at[i][0] < 0 ? pw + at[i][0] : at[i][0],
                y = at[i][1] < 0 ? 25 + at[i][1] : at[i][1];
      EXPECT_EQ(drawn.At(x, y), want[i]) << w << " at " << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace orvane
