#include <gtest/gtest.h>

#include <array>
#include <iterator>
#include <string>
#include <vector>

#include "host/dialog/dialog_layout.h"
#include "host/dialog/repeat_track.h"
#include "tests/dialog/form_places.h"

namespace orvane {
namespace {

TEST(DialogLayout, EveryControlItsTextPixelsPlacementAndPressesAtTheEdges) {
  ASSERT_EQ(DialogControls().size(), std::size(testing::kDesign));
  for (const testing::Place& place : testing::kDesign) {
    SCOPED_TRACE(::testing::Message() << place.name << "(" << place.index << ")");
    const DialogControl& control = DialogControlNamed(place.name, place.index);
    EXPECT_EQ(control.Container == DialogContainer::Panel, place.inPanel);
    EXPECT_EQ((std::array{control.Left, control.Top, control.Width, control.Height}),
              (std::array<double, 4>{1.0 * place.left, 1.0 * place.top, 1.0 * place.width,
                                     1.0 * place.height}));
  }
  // What the texts say.
  std::vector<std::string> shown;
  for (const DialogControl& control : DialogControls())
    if (!control.Text.empty()) shown.emplace_back(control.Text);
  EXPECT_EQ(shown, (std::vector<std::string>{"BGM", "音楽CD", "曲目をﾘﾋﾟｰﾄ", "なし", "MP3、WAV",
                                             "...", "© Orvane  Ver.1.0.0", "https://orvane.org/",
                                             "設定", "ｷｬﾝｾﾙ"}));
  // At 120 dots per inch (12 twips a pixel) position and size are each rounded.
  const TwipsScale dense{12, 12};
  EXPECT_EQ(ToPixels(DialogControlNamed("lbl_Fname"), dense), (Rect{90, 145, 476, 41}));

  const TwipsScale scale;
  // 533 pixels of difference are 7995 twips; half of it is truncated to 3997 twips, which is
  // nearer 266 pixels than 267.
  EXPECT_EQ(DialogPlacement(1025, 768, 492, 246, scale).X, 266);
  EXPECT_EQ(DialogPlacement(400, 200, 492, 246, scale), (DialogPoint{-46, -15}));

  // The panel starts at (12, 16); mark 2 spans x 28 to 40 in it, its label starts at 44.
  using Kind = DialogTarget::Kind;
  EXPECT_EQ(HitTest(12 + 40, 16 + 100, scale), (DialogTarget{Kind::Choice, 2}));
  EXPECT_FALSE(HitTest(12 + 42, 16 + 100, scale)) << "between mark 2 and its label";
  EXPECT_FALSE(HitTest(12 + 65, 16 + 89, scale)) << "just below label 0's one line";
  EXPECT_EQ(HitTest(230, 220, scale), (DialogTarget{Kind::Link, 0}));
  EXPECT_FALSE(HitTest(231, 208, scale)) << "just right of the address";
  EXPECT_FALSE(HitTest(350, 210, scale)) << "the set button is a control of its own";
}

TEST(RepeatTrack, TextsAndTheTracksTheyGive) {
  const std::pair<const char*, int> cases[] = {
      {"+3", 3}, {".5", 0}, {"1.5", 2}, {"32767.4", 32767}, {"-32769", 0}, {"1 2", 0}, {"", 0},
  };
  for (const auto& [text, track] : cases)
    EXPECT_EQ(RepeatTrackFromText(text), track) << '"' << text << '"';
}

}  // namespace
}  // namespace orvane
