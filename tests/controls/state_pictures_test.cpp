#include "host/controls/state_pictures.h"

#include <gtest/gtest.h>

#include <array>

namespace orvane {
namespace {

struct Bands {
  Look look;
  std::array<std::uint32_t, 4> top;     // rows 0-3, centre column
  std::array<std::uint32_t, 4> bottom;  // rows 21-24
  std::array<std::uint32_t, 4> left;    // columns 0-3, middle row
  std::array<std::uint32_t, 4> right;   // columns 60-63
};

const Bands kBands[] = {
    {Look::Normal,
     {0xDCD6C2, 0x003C74, 0xF3F3EE, 0xF3F3EE},
     {0xE2DFD6, 0xD6D0C5, 0x003C74, 0xFAFAF6},
     {0xE2DECB, 0x003C74, 0xF4F4F0, 0xF4F4F0},
     {0xEEEDE7, 0xE8E5DF, 0x003C74, 0xF0EEE0}},
    {Look::HighLight,
     {0xDCD6C2, 0x003C74, 0xFFF0CF, 0xFDD889},
     {0xF8B330, 0xE59700, 0x003C74, 0xFAFAF6},
     {0xE2DECB, 0x003C74, 0xFCCA69, 0xFBCA6A},
     {0xFBCA6A, 0xFCCA69, 0x003C74, 0xF0EEE0}},
    {Look::HighLightSelect,
     {0xDCD6C2, 0x003C74, 0xFFF0CF, 0xFDD889},
     {0xF8B330, 0xE59700, 0x003C74, 0xFAFAF6},
     {0xE2DECB, 0x003C74, 0xFCCA69, 0xFBCA6A},
     {0xFBCA6A, 0xFCCA69, 0x003C74, 0xF0EEE0}},
    {Look::Selected,
     {0xDCD6C2, 0x003C74, 0xCEE7FF, 0xCEE7FF},
     {0x6982EE, 0x6982EE, 0x003C74, 0xFAFAF6},
     {0xE2DECB, 0x003C74, 0xA9C5EF, 0xA8C6F0},
     {0xA9C5EF, 0xA9C5EF, 0x003C74, 0xF0EEE0}},
    {Look::Pressed,
     {0xECE9D8, 0xDCD6C2, 0x003C74, 0xD1CCC1},
     {0xF2F1EE, 0x003C74, 0xFAFAF6, 0xECE9D8},
     {0xECE9D8, 0xE2DECB, 0x003C74, 0xD7D4CB},
     {0xE4E3DC, 0x003C74, 0xF0EEE0, 0xECE9D8}},
    {Look::Disable,
     {0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA},
     {0xF5F4EA, 0xF5F4EA, 0xC9C7BA, 0xECE9D8},
     {0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA},
     {0xF5F4EA, 0xF5F4EA, 0xC9C7BA, 0xECE9D8}},
};

TEST(StatePictures, AreSixty4By25AndCarryEveryBandColourAtItsPlace) {
  const StatePictures& pictures = DefaultStatePictures();
  for (const Bands& b : kBands) {
    const Picture& p = pictures[b.look];
    SCOPED_TRACE(LookName(b.look));
    ASSERT_TRUE(p.Valid());
    ASSERT_EQ(p.Width, 64);
    ASSERT_EQ(p.Height, 25);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(p.At(32, i), b.top[i]) << "top row " << i;
      EXPECT_EQ(p.At(32, 21 + i), b.bottom[i]) << "bottom row " << 21 + i;
      EXPECT_EQ(p.At(i, 12), b.left[i]) << "left column " << i;
      EXPECT_EQ(p.At(60 + i, 12), b.right[i]) << "right column " << 60 + i;
    }
    // Bands run unchanged along the edge between the corners (Pressed's corners, moved
    // inward, reach one pixel further).
    const int inset = b.look == Look::Pressed ? 5 : 4;
    for (int x = inset; x < 64 - inset; ++x) {
      EXPECT_EQ(p.At(x, 1), b.top[1]) << x;
      EXPECT_EQ(p.At(x, 23), b.bottom[2]) << x;
    }
  }
}

TEST(StatePictures, HighLightAndHighLightSelectAreIdentical) {
  const StatePictures& pictures = DefaultStatePictures();
  EXPECT_EQ(pictures[Look::HighLight].Rgb, pictures[Look::HighLightSelect].Rgb);
}

TEST(StatePictures, NormalHighLightAndSelectedShareTheBorderAndNormalsCorner) {
  const StatePictures& pictures = DefaultStatePictures();
  for (const Look look : {Look::Normal, Look::HighLight, Look::Selected}) {
    const Picture& p = pictures[look];
    for (int y = 4; y < 21; ++y) {
      EXPECT_EQ(p.At(1, y), 0x003C74u) << LookName(look) << " row " << y;
      EXPECT_EQ(p.At(62, y), 0x003C74u) << LookName(look) << " row " << y;
    }
  }
  const std::uint32_t corner[4][4] = {{0xE9E7D5, 0xE4DFCE, 0xE1DDCA, 0xE0DCC9},
                                      {0xE4DFCE, 0xE6E1D0, 0x7A95A8, 0x255783},
                                      {0xE2DECB, 0x7A95A8, 0x557DA2, 0xC0CFDD},
                                      {0xE2DECB, 0x255783, 0xBFCEDC, 0xFEFEFE}};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(pictures[Look::Normal].At(x, y), corner[y][x]);
  }
}

TEST(StatePictures, GlowsDeepenDownTheSides) {
  const StatePictures& pictures = DefaultStatePictures();
  const Picture& amber = pictures[Look::HighLight];
  EXPECT_EQ(amber.At(2, 4), 0xFEDF9Au);
  EXPECT_EQ(amber.At(2, 12), 0xFCCA69u);
  EXPECT_EQ(amber.At(2, 20), 0xF9B435u);
  const Picture& blue = pictures[Look::Selected];
  EXPECT_EQ(blue.At(2, 4), 0xB7D0F4u);
  EXPECT_EQ(blue.At(2, 20), 0x8BADE4u);
  // Deepening: every channel falls or holds from row 4 to row 20 on both sides.
  for (const Picture* p : {&amber, &blue}) {
    for (const int x : {2, 61}) {
      for (int y = 5; y <= 20; ++y) {
        for (const int shift : {16, 8, 0}) {
          EXPECT_LE((p->At(x, y) >> shift) & 0xFF, (p->At(x, y - 1) >> shift) & 0xFF);
        }
      }
    }
  }
}

TEST(StatePictures, PressedIsNormalMovedInwardAndDisableHasGreyRoundedCorners) {
  const StatePictures& pictures = DefaultStatePictures();
  const Picture& normal = pictures[Look::Normal];
  const Picture& pressed = pictures[Look::Pressed];
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(pressed.At(i, 0), 0xECE9D8u);
    EXPECT_EQ(pressed.At(i, 24), 0xECE9D8u);
  }
  // The top-left corner moved one pixel down and right.
  for (int y = 1; y < 3; ++y) {
    for (int x = 1; x < 3; ++x) EXPECT_EQ(pressed.At(x, y), normal.At(x - 1, y - 1));
  }
  const Picture& disable = pictures[Look::Disable];
  int soft = 0, firm = 0;
  for (const auto& [x0, y0] : {std::pair{0, 0}, {60, 0}, {0, 21}, {60, 21}}) {
    for (int y = y0; y < y0 + 4; ++y) {
      for (int x = x0; x < x0 + 4; ++x) {
        soft += disable.At(x, y) == 0xD8D5C7;
        firm += disable.At(x, y) == 0xCBC9BC;
      }
    }
  }
  EXPECT_GE(soft, 8);
  EXPECT_GE(firm, 8);
}

}  // namespace
}  // namespace orvane
