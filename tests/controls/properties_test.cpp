#include <gtest/gtest.h>

#include "host/controls/Command.h"
#include "tests/controls/fakes.h"

namespace orvane {
namespace {

using testing::Rig;

// Values equal to their defaults are not stored (1 equals the text "1"); writing the default
// again forgets a stored value. Every other value a design holds round-trips.
TEST(CommandProperties, AnEmptyDesignThenEveryNonDefaultValueRoundTrips) {
  PropertyBag bag;
  bag.Write("FirstRun", std::int64_t{1}, std::string("1"));
  bag.Write("Caption", std::string("設定"), std::string("Command"));
  EXPECT_EQ(std::get<std::string>(bag.Read("Caption", std::string("Command"))), "設定");
  bag.Write("Caption", std::string("Command"), std::string("Command"));
  EXPECT_EQ(bag.Size(), 0u);

  Rig first;
  first.control.LoadFromBag(bag);
  first.control.Resize(1215, 375);
  EXPECT_EQ(first.control.Fields().IsEnabled, kTrue);
  EXPECT_EQ(first.control.Caption(), "Command");
  EXPECT_EQ(first.control.Font(), first.container.ambient);
  EXPECT_EQ(first.paints.back(), Look::Normal);
  first.control.SetEnabled(false);
  first.control.SetCaption("Abc");
  first.control.SetFont({"IPAGothic", 12, 700, true, true, true, 1});
  first.control.SetFontColour(0x0000FF);
  first.control.SetVisible(false);
  first.control.SaveToBag(bag);
  EXPECT_EQ(bag.Size(), 5u);  // all but FirstRun, which is 1

  Rig second;
  second.control.LoadFromBag(bag);
  EXPECT_EQ(second.control.Fields().IsEnabled, kFalse);
  EXPECT_EQ(second.control.Caption(), "Abc");
  EXPECT_EQ(second.control.Font(), (FontInfo{"IPAGothic", 12, 700, true, true, true, 1}));
  EXPECT_EQ(second.control.Label().ForeColour, 0x0000FFu);
  EXPECT_FALSE(second.control.FaceShown());
  EXPECT_TRUE(second.paints.empty());  // a disabled control is not repainted by loading
}

TEST(CommandProperties, StoredValuesThatDoNotConvertLeaveTheirFieldsAlone) {
  PropertyBag bag;
  bag.Write("FirstRun", std::string("lots"), std::string("1"));
  bag.Write("FontColour", std::string("red"), std::string("0"));
  bag.Write("Visible", std::int64_t{2}, std::string("1"));
  bag.Write("Font", std::string("Arial"), FontInfo{});
  bag.Write("Enabled", std::string("perhaps"), true);
  Rig rig;
  rig.control.LoadFromBag(bag);
  EXPECT_EQ(rig.control.Fields().FirstRun, 0);
  EXPECT_EQ(rig.control.Fields().IsEnabled, kFalse);
  EXPECT_EQ(rig.control.Label().ForeColour, 0u);
  EXPECT_TRUE(rig.control.FaceShown());
  EXPECT_EQ(rig.control.Font(), FontInfo{});
}

TEST(CommandProperties, FirstUseStepAndFontColourBlackWhileFirstRunIsZero) {
  Rig rig;
  rig.control.Resize(1215, 375);  // the first sizing paints Disable
  EXPECT_EQ(rig.paints, std::vector<Look>{Look::Disable});
  EXPECT_EQ(rig.control.Fields().FirstRun, 0);
  EXPECT_TRUE(rig.control.Enabled());
  EXPECT_EQ(rig.control.Fields().FirstRun, 1);
  EXPECT_EQ(rig.control.Fields().IsEnabled, kTrue);
  // ResetToNormal ran while still disabled, so the one new paint is ApplyEnabled's.
  EXPECT_EQ(rig.paints, (std::vector<Look>{Look::Disable, Look::Normal}));
  EXPECT_TRUE(rig.control.Label().Enabled);

  // A design saved with FirstRun 0 keeps the colour black while enabled.
  PropertyBag bag;
  bag.Write("FirstRun", std::int64_t{0}, std::string("1"));
  rig.control.LoadFromBag(bag);
  ASSERT_EQ(rig.control.Fields().FirstRun, 0);
  ASSERT_EQ(rig.control.Fields().IsEnabled, kTrue);
  rig.control.SetFontColour(0x0000FF);
  EXPECT_EQ(rig.control.Label().ForeColour, 0u);
  EXPECT_EQ(rig.control.FontColour(), 0u);

  // Disabled, ResetToNormal changes nothing, so the colour holds.
  rig.control.SetEnabled(false);
  rig.control.SetFontColour(0x00FF00);
  EXPECT_EQ(rig.control.FontColour(), 0x00FF00u);
}

TEST(CommandProperties, WhichReadsAndWritesRepaintAndNotify) {
  Rig rig;
  rig.SetUp();
  rig.control.OnMouseMove();  // hovered, to see ResetToNormal's Normal
  rig.paints.clear();

  (void)rig.control.Caption();
  (void)rig.control.Font();
  EXPECT_TRUE(rig.paints.empty());
  EXPECT_TRUE(rig.control.Visible());
  EXPECT_EQ(rig.paints, std::vector<Look>{Look::Normal});
  (void)rig.control.FontColour();
  EXPECT_EQ(rig.paints.size(), 2u);
  EXPECT_TRUE(rig.control.Enabled());
  EXPECT_EQ(rig.paints.size(), 3u);
  EXPECT_EQ(rig.control.Fields().State, CommandState::HighLight);  // looks only

  rig.paints.clear();
  rig.container.changed.clear();
  rig.control.SetCaption("x");
  rig.control.SetFont(FontInfo{});
  EXPECT_TRUE(rig.paints.empty());
  rig.control.SetFontColour(0xFF);
  rig.control.SetVisible(false);
  EXPECT_FALSE(rig.control.FaceShown());
  EXPECT_FALSE(rig.control.Visible());
  rig.control.SetVisible(true);
  rig.control.SetEnabled(true);
  EXPECT_EQ(rig.container.changed, (std::vector<std::string>{"Caption", "Font", "FontColour",
                                                             "Visible", "Visible", "Enabled"}));
  EXPECT_EQ(rig.paints, (std::vector<Look>{Look::Normal, Look::Normal, Look::Normal}));
}

TEST(CommandProperties, InitializeAndAFailingContainer) {
  Rig rig;
  rig.control.LoadFromBag(PropertyBag{});
  rig.control.Initialize();
  EXPECT_EQ(rig.control.Fields().State, CommandState::Normal);
  ASSERT_TRUE(rig.platform.timer);
  EXPECT_EQ(rig.platform.timer->count(), 100);

  rig.container.throwOnChange = true;
  rig.control.SetCaption("still set");
  EXPECT_EQ(rig.control.Caption(), "still set");
  rig.paints.clear();
  rig.control.SetFontColour(0x123456);  // recovers with ResetToNormal and ends
  EXPECT_EQ(rig.control.Label().ForeColour, 0x123456u);
  EXPECT_EQ(rig.paints, (std::vector<Look>{Look::Normal, Look::Normal}));
}

}  // namespace
}  // namespace orvane
