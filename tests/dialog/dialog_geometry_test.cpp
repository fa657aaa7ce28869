// The dialog's pure parts: the layout in pixels, the placement, what a press lands on, the
// repeat box's texts, the backgrounds, the music filter and the built-in pictures.
#include <gtest/gtest.h>

#include <set>

#include "host/dialog/background.h"
#include "host/dialog/dialog_layout.h"
#include "host/dialog/dialog_pictures.h"
#include "host/dialog/open_file_request.h"
#include "host/dialog/repeat_track.h"

namespace orvane {
namespace {

TEST(DialogLayout, ControlsInPixelsAtBothUsualDensities) {
  struct Case {
    const char* name;
    int index;
    DialogRect at96;
    DialogRect at120;
  };
  const Case cases[] = {
      {"Pic_C", -1, {12, 16, 469, 165}, {15, 20, 586, 206}},
      {"BGM_Repeat", -1, {112, 52, 41, 20}, {140, 65, 51, 25}},
      {"Img_BGM", 2, {28, 96, 13, 13}, {35, 120, 16, 16}},
      {"lbl_Fname", -1, {72, 116, 381, 33}, {90, 145, 476, 41}},
      {"lbl_URL", -1, {12, 208, 219, 13}, {15, 260, 274, 16}},
      {"Cmd_Set", -1, {316, 200, 81, 25}, {395, 250, 101, 31}},
      {"Cmd_Can", -1, {400, 200, 81, 25}, {500, 250, 101, 31}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DialogControl& control = DialogControlNamed(c.name, c.index);
    EXPECT_EQ(ToPixels(control, TwipsScale{15, 15}), c.at96);
    EXPECT_EQ(ToPixels(control, TwipsScale{12, 12}), c.at120);
  }
  EXPECT_EQ(DialogControls().size(), 21u);
  EXPECT_THROW(DialogControlNamed("lbl_BGM", 3), std::out_of_range);
}

TEST(DialogLayout, EveryShownControlLiesInsideItsContainer) {
  const TwipsScale scale;
  const DialogRect panel = ToPixels(DialogControlNamed("Pic_C"), scale);
  const int formWidth = scale.ToPixelsX(kDialogInnerWidth);
  const int formHeight = scale.ToPixelsY(kDialogInnerHeight);
  std::set<std::string_view> stores{"Pic_Mbl", "Img_Ra", "Pic_Dummy"};
  for (const DialogControl& control : DialogControls()) {
    const DialogRect r = ToPixels(control, scale);
    const bool inPanel = control.Container == DialogContainer::Panel;
    const int width = inPanel ? panel.Width : formWidth;
    const int height = inPanel ? panel.Height : formHeight;
    const bool inside = r.X >= 0 && r.Y >= 0 && r.X + r.Width <= width && r.Y + r.Height <= height;
    EXPECT_EQ(inside, !stores.contains(control.Name)) << control.Name << " " << control.Index;
  }
}

TEST(DialogLayout, PlacementCentresAcrossAndAThirdDown) {
  const TwipsScale scale;
  EXPECT_EQ(DialogPlacement(1024, 768, 492, 246, scale), (DialogPoint{266, 174}));
  EXPECT_EQ(DialogPlacement(1280, 1024, 492, 246, scale), (DialogPoint{394, 259}));
  // 533 pixels of difference are 7995 twips; half of it is truncated to 3997, which is
  // nearer 266 pixels than 267.
  EXPECT_EQ(DialogPlacement(1025, 768, 492, 246, scale).X, 266);
  // A screen smaller than the dialog puts it above and left of the corner.
  EXPECT_EQ(DialogPlacement(400, 200, 492, 246, scale), (DialogPoint{-46, -15}));
}

TEST(DialogLayout, PressesLandOnMarksLabelsAndTheAddress) {
  const TwipsScale scale;
  using Kind = DialogTarget::Kind;
  // In the form's pixels: the panel starts at (12, 16).
  EXPECT_EQ(HitTest(12 + 28, 16 + 56, scale), (DialogTarget{Kind::Choice, 1}));    // mark 1
  EXPECT_EQ(HitTest(12 + 86, 16 + 68, scale), (DialogTarget{Kind::Choice, 1}));    // label 1
  EXPECT_EQ(HitTest(12 + 40, 16 + 88, scale), (DialogTarget{Kind::Choice, 0}));    // mark 0
  EXPECT_EQ(HitTest(12 + 65, 16 + 76, scale), (DialogTarget{Kind::Choice, 0}));    // label 0
  EXPECT_EQ(HitTest(12 + 103, 16 + 108, scale), (DialogTarget{Kind::Choice, 2}));  // label 2
  EXPECT_EQ(HitTest(12, 208, scale), (DialogTarget{Kind::Link, 0}));
  EXPECT_EQ(HitTest(230, 220, scale), (DialogTarget{Kind::Link, 0}));
  EXPECT_FALSE(HitTest(12 + 42, 16 + 100, scale)) << "between mark 2 and its label";
  EXPECT_FALSE(HitTest(12 + 65, 16 + 89, scale)) << "just below label 0's one line";
  EXPECT_FALSE(HitTest(231, 208, scale)) << "just right of the address";
  EXPECT_FALSE(HitTest(5, 5, scale));
  EXPECT_FALSE(HitTest(350, 210, scale)) << "the set button is a control of its own";
}

TEST(RepeatTrack, HashHashFormatting) {
  EXPECT_EQ(FormatHashHash(0), "");
  EXPECT_EQ(FormatHashHash(1), "1");
  EXPECT_EQ(FormatHashHash(30), "30");
  EXPECT_EQ(FormatHashHash(-4), "-4");
  EXPECT_EQ(FormatHashHash(32767), "32767");
}

TEST(RepeatTrack, TextsAndTheTracksTheyGive) {
  const std::pair<const char*, int> cases[] = {
      {"12", 12},    {"+3", 3},    {"1.", 1},          {".5", 0},      {"0.5", 0},
      {"1.5", 2},    {"2.5", 2},   {"-2.5", -2},       {"-0.5", 0},    {" 7\t", 7},
      {"1E1", 10},   {"25e-1", 2}, {"32767.4", 32767}, {"32767.5", 0}, {"-32768.5", -32768},
      {"-32769", 0}, {"40000", 0}, {"1e400", 0},       {"1e-400", 0},  {"", 0},
      {" ", 0},      {".", 0},     {"-", 0},           {"abc", 0},     {"12abc", 0},
      {"1 2", 0},    {"- 3", 0},   {"1,000", 0},       {"0x10", 0},    {"inf", 0},
      {"nan", 0},    {"1e", 0},    {"1e+", 0},         {"１２", 0},
  };
  for (const auto& [text, track] : cases) {
    EXPECT_EQ(RepeatTrackFromText(text), track) << '"' << text << '"';
  }
  EXPECT_FALSE(ParseNumberText(""));
  EXPECT_DOUBLE_EQ(ParseNumberText(" -2.25 ").value_or(0), -2.25);
  EXPECT_EQ(ParseNumberText("1e400").value_or(0), HUGE_VAL);
}

TEST(RepeatTrack, EveryListedEntryReadsBackAsItsTrack) {
  for (int track = 0; track <= 30; ++track) {
    EXPECT_EQ(RepeatTrackFromText(FormatHashHash(track)), track);
  }
}

TEST(Background, BandRunsFromDarkEdgesToALightMiddle) {
  const int height = 246;
  const std::vector<RowColour> rows = BackgroundRows(height);
  ASSERT_EQ(rows.size(), 247u);
  EXPECT_EQ(rows.front(), (RowColour{0, 0, 30}));
  EXPECT_EQ(rows[123], (RowColour{220, 220, 250}));
  EXPECT_EQ(rows.back(), (RowColour{0, 0, 30}));
  for (int y = 1; y <= 123; ++y) {
    EXPECT_GE(rows[y].Red, rows[y - 1].Red) << y;
    EXPECT_EQ(rows[y].Red, rows[y].Green);
    EXPECT_EQ(rows[y].Blue, rows[y].Red + 30);
    EXPECT_NEAR(rows[y].Red, rows[height - y].Red, 1) << y;
  }
  // A quarter of the way down: |sin(61.5 / (246 / 3.142))| x 220 = 155.6.
  EXPECT_EQ(BackgroundRowColour(61, height).Red, 155);
  EXPECT_EQ(BackgroundRowColour(0, 0), (RowColour{0, 0, 30}));
  EXPECT_TRUE(BackgroundRows(-1).empty());
}

TEST(Background, TilesGoColumnByColumnUntilPastBothEdges) {
  const std::vector<DialogPoint> small = TilePositions(10, 10, 4, 4);
  ASSERT_EQ(small.size(), 16u);
  for (size_t i = 0; i < small.size(); ++i) {
    EXPECT_EQ(small[i], (DialogPoint{static_cast<int>(i / 4) * 4, static_cast<int>(i % 4) * 4}));
  }
  // A copy starting exactly at the edge still counts as not beyond it.
  const std::vector<DialogPoint> exact = TilePositions(8, 8, 4, 4);
  EXPECT_EQ(exact.size(), 16u);
  EXPECT_EQ(exact.back(), (DialogPoint{12, 12}));
  EXPECT_EQ(TilePositions(469, 165, 556, 20).size(), 20u);
  EXPECT_TRUE(TilePositions(10, 10, 0, 4).empty());
}

TEST(MusicFilter, MatchesMp3AndWavInAnyCase) {
  for (const char* name : {"a.mp3", "A.MP3", "b.Wav", "/x/y/c.wAV", ".mp3", "song.mP3"}) {
    EXPECT_TRUE(MatchesMusicFilter(name)) << name;
  }
  for (const char* name : {"a.mp4", "mp3", "a.mp3.txt", "a.wave", "", "a_mp3", "a.m p3"}) {
    EXPECT_FALSE(MatchesMusicFilter(name)) << name;
  }
}

TEST(DialogPictures, TileFadesFromLightToDarkerGreyWithGrain) {
  const Picture& tile = BackgroundTile();
  ASSERT_TRUE(tile.Valid());
  ASSERT_EQ(tile.Width, 556);
  ASSERT_EQ(tile.Height, 20);
  auto columnMean = [&](int x, int channel) {
    double sum = 0;
    for (int y = 0; y < tile.Height; ++y) sum += (tile.At(x, y) >> (16 - 8 * channel)) & 0xFF;
    return sum / tile.Height;
  };
  EXPECT_NEAR(columnMean(0, 0), 223, 2);
  EXPECT_NEAR(columnMean(0, 2), 223, 2);
  EXPECT_NEAR(columnMean(555, 0), 176, 2);
  EXPECT_NEAR(columnMean(555, 1), 175, 2);
  EXPECT_NEAR(columnMean(555, 2), 175, 2);
  std::set<std::uint32_t> column;
  for (int y = 0; y < tile.Height; ++y) column.insert(tile.At(100, y));
  EXPECT_GT(column.size(), 3u) << "a fine grain, not a flat strip";
}

TEST(DialogPictures, MarksShareTheirFrameAndDifferInside) {
  const Picture& empty = MarkPicture(0);
  const Picture& chosen = MarkPicture(1);
  ASSERT_TRUE(empty.Valid() && chosen.Valid());
  EXPECT_EQ(empty.Width, 12);
  EXPECT_EQ(chosen.Height, 12);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(empty.At(i, 0), chosen.At(i, 0));
    EXPECT_EQ(empty.At(0, i), chosen.At(0, i));
    EXPECT_EQ(empty.At(0, i), 0x7F7F7Fu) << "grey frame";
  }
  const std::uint32_t inside = empty.At(6, 6);
  EXPECT_GE(inside & 0xFF, 0xF0u) << "a light square";
  EXPECT_EQ(inside >> 16, inside & 0xFF);
  const std::uint32_t blue = chosen.At(6, 6);
  EXPECT_GT(static_cast<int>(blue & 0xFF), static_cast<int>(blue >> 16) + 100);
}

TEST(DialogPictures, LinkPointerIsAHandWithItsTipAtTheHotSpot) {
  const PointerPicture& pointer = LinkPointer();
  ASSERT_EQ(pointer.Width, 32);
  ASSERT_EQ(pointer.Height, 32);
  ASSERT_EQ(pointer.Rgba.size(), 32u * 32u * 4u);
  EXPECT_EQ(pointer.HotX, 12);
  EXPECT_EQ(pointer.HotY, 10);
  auto alpha = [&](int x, int y) { return pointer.Rgba[(y * 32 + x) * 4 + 3]; };
  EXPECT_EQ(alpha(12, 10), 255) << "the hot spot is on the hand";
  EXPECT_EQ(alpha(12, 9), 0) << "and at its very top";
  EXPECT_EQ(alpha(0, 0), 0);
  EXPECT_EQ(alpha(31, 31), 0);
  int black = 0, white = 0;
  for (int i = 0; i < 32 * 32; ++i) {
    if (pointer.Rgba[i * 4 + 3] == 0) continue;
    (pointer.Rgba[i * 4] == 0 ? black : white)++;
  }
  EXPECT_GT(black, 40) << "an outline";
  EXPECT_GT(white, 40) << "a white hand";
}

}  // namespace
}  // namespace orvane
