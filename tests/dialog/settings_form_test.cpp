// The settings dialog's behaviour against a fake window and a fake platform, with the
// settings file written for real into a folder of the test's own.
#include "host/dialog/settings_form.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/Orvane_B.h"
#include "host/dialog/dialog_layout.h"
#include "platform/fake_platform.h"
#include "tests/dialog/fake_form_view.h"

namespace orvane {
namespace {

using testing::FakeFormView;
namespace fs = std::filesystem;

// The three keys' names as the settings file holds them (code page 932).
const std::string kKindKey = "BGM\x8B\xE6\x95\xAA";
const std::string kTrackKey = "BGM\xD8\xCB\xDF\xB0\xC4";
const std::string kFileKey = "BGM\xCC\xA7\xB2\xD9";

std::string SettingsFile(const std::string& kind, const std::string& track,
                         const std::string& file) {
  return "[Section]\r\n" + kKindKey + "=" + kind + "\r\n" + kTrackKey + "=" + track + "\r\n" +
         kFileKey + "=" + file + "\r\n";
}

class SettingsFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/orvane-dialog-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    SetHostFolder(folder);
    BGM_Kind = 0;
    BGM_RepeatTrack = 0;
    BGM_File.clear();
    BGM_Folder = folder;
    AnimPointX = AnimPointY = 0;
    fake.cursorPos = Point{300, 400};
    fake.windowRects[FakeFormView::kHandle] = Rect{266, 174, 758, 420};
  }
  void TearDown() override { fs::remove_all(folder); }

  std::optional<std::string> WrittenSettings() const {
    std::ifstream in(SettingsPath(), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  // The centre of a control of the panel or the form, in the form's pixels.
  DialogPoint CentreOf(std::string_view name, int index = -1) const {
    const TwipsScale scale;
    const DialogControl& control = DialogControlNamed(name, index);
    DialogRect rect = ToPixels(control, scale);
    if (control.Container == DialogContainer::Panel) {
      const DialogRect panel = ToPixels(DialogControlNamed("Pic_C"), scale);
      rect.X += panel.X;
      rect.Y += panel.Y;
    }
    return {rect.X + rect.Width / 2, rect.Y + rect.Height / 2};
  }

  void ExpectMarks(int chosen) const {
    for (int index = 0; index < 3; ++index) {
      EXPECT_EQ(view.marks[index], index == chosen ? ChoiceMark::Chosen : ChoiceMark::NotChosen)
          << "mark " << index;
    }
  }

  std::string folder;
  FakePlatform fake;
  FakeFormView view;
  SettingsForm form{fake, view};
};

TEST_F(SettingsFormTest, LoadShowsEachKindWithItsEnabling) {
  struct Case {
    std::int16_t kind;
    std::int16_t track;
    const char* file;
    bool repeatEnabled;
    bool fileEnabled;
    const char* repeatText;
  };
  const Case cases[] = {
      {0, 0, "", false, false, ""},
      {1, 0, "", true, false, ""},  // track 0 shows as the empty text
      {1, 12, "/music/old.mp3", true, false, "12"},
      {2, 3, "/music/song.wav", false, true, "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "kind " << c.kind << ", track " << c.track);
    FakeFormView freshView;
    SettingsForm freshForm(fake, freshView);
    BGM_Kind = c.kind;
    BGM_RepeatTrack = c.track;
    BGM_File = c.file;
    freshForm.Load();
    for (int index = 0; index < 3; ++index) {
      EXPECT_EQ(freshView.marks[index],
                index == c.kind ? ChoiceMark::Chosen : ChoiceMark::NotChosen);
    }
    EXPECT_EQ(freshView.repeatEnabled, c.repeatEnabled);
    EXPECT_EQ(freshView.fileButton.Fields().IsEnabled != kFalse, c.fileEnabled);
    EXPECT_EQ(freshView.repeatText, c.repeatText);
    EXPECT_EQ(freshView.fileCaption, c.file);
  }
}

TEST_F(SettingsFormTest, LoadSetsUpEverythingElseOnce) {
  form.Load();
  ASSERT_TRUE(view.movedTo.has_value());
  EXPECT_EQ(*view.movedTo, (DialogPoint{266, 174})) << "centred, a third of the way down";
  for (Command* button : view.Buttons()) {
    EXPECT_EQ(button->Fields().State, CommandState::Normal) << "every button initialised";
  }
  EXPECT_EQ(view.commandPlatform.timerStarts, 3);
  std::vector<std::string> entries{""};
  for (int n = 1; n <= 30; ++n) entries.push_back(std::to_string(n));
  EXPECT_EQ(view.repeatEntries, entries);
  // The 469 x 165 panel takes one column of the 556-wide tile, ten copies high, and the loop
  // starts a second column before it stops.
  ASSERT_EQ(view.tiles.size(), 20u);
  EXPECT_EQ(view.tiles[9], (DialogPoint{0, 180}));
  EXPECT_EQ(view.tiles[10], (DialogPoint{556, 0}));
  EXPECT_FALSE(WrittenSettings()) << "loading writes nothing";
}

TEST_F(SettingsFormTest, LoadAnimatesFromThePointerToTheWindow) {
  form.Load();
  EXPECT_EQ(AnimPointX, 300);
  EXPECT_EQ(AnimPointY, 400);
  EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects"),
            std::vector<std::string>{"DrawAnimatedRects 69206023 300,400,300,400 -> "
                                     "266,174,758,420"});
  // The window is in place before the effect runs, and the pointer is the default after it.
  EXPECT_EQ(view.calls.front(), "Move");
  EXPECT_EQ(view.calls.back(), "Default");
}

TEST_F(SettingsFormTest, LoadWithoutAPointerAnimatesFromTheCorner) {
  for (const std::optional<Point>& pointer :
       {std::optional<Point>(), std::optional<Point>(Point{40000, 10})}) {
    FakeFormView freshView;
    SettingsForm freshForm(fake, freshView);
    AnimPointX = 5;
    AnimPointY = 6;
    fake.cursorPos = pointer;
    fake.calls.clear();
    freshForm.Load();
    EXPECT_EQ(AnimPointX, 0);
    EXPECT_EQ(AnimPointY, 0);
    EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects").at(0),
              "DrawAnimatedRects 69206023 0,0,0,0 -> 266,174,758,420");
  }
}

TEST_F(SettingsFormTest, ChoosingAKindEnablesOnlyItsOwnControl) {
  BGM_RepeatTrack = 4;
  BGM_File = "/music/a.mp3";
  form.Load();
  struct Case {
    int kind;
    bool repeatEnabled;
    bool fileEnabled;
  };
  for (const Case& c :
       {Case{2, false, true}, Case{1, true, false}, Case{0, false, false}, Case{2, false, true}}) {
    SCOPED_TRACE(::testing::Message() << "kind " << c.kind);
    form.ChooseKind(c.kind);
    EXPECT_EQ(BGM_Kind, c.kind);
    ExpectMarks(c.kind);
    EXPECT_EQ(view.repeatEnabled, c.repeatEnabled);
    EXPECT_EQ(view.fileButton.Fields().IsEnabled != kFalse, c.fileEnabled);
    EXPECT_EQ(BGM_RepeatTrack, 4) << "the other settings keep their values";
    EXPECT_EQ(BGM_File, "/music/a.mp3");
  }
  EXPECT_FALSE(WrittenSettings()) << "choosing writes nothing";
}

TEST_F(SettingsFormTest, PressingAChoicesLabelIsTheSameAsPressingItsMark) {
  form.Load();
  for (const char* name : {"Img_BGM", "lbl_BGM"}) {
    for (int kind : {1, 0, 2}) {
      for (int button : {kLeftButton, kRightButton, kMiddleButton}) {
        SCOPED_TRACE(::testing::Message() << name << "(" << kind << ") button " << button);
        form.ChooseKind(kind == 0 ? 1 : 0);
        const DialogPoint at = CentreOf(name, kind);
        form.MouseDown(button, at.X, at.Y);
        EXPECT_EQ(BGM_Kind, kind);
        ExpectMarks(kind);
        EXPECT_EQ(view.repeatEnabled, kind == 1);
        EXPECT_EQ(view.fileButton.Fields().IsEnabled != kFalse, kind == 2);
      }
    }
  }
  // Pressing elsewhere, even between a mark and its label, chooses nothing.
  form.ChooseKind(1);
  const DialogRect mark = ToPixels(DialogControlNamed("Img_BGM", 2), TwipsScale{});
  const DialogRect panel = ToPixels(DialogControlNamed("Pic_C"), TwipsScale{});
  form.MouseDown(kLeftButton, panel.X + mark.X + mark.Width + 1, panel.Y + mark.Y + 5);
  const DialogPoint heading = CentreOf("lbl", 14);
  form.MouseDown(kLeftButton, heading.X, heading.Y);
  EXPECT_EQ(BGM_Kind, 1);
}

class SavingTest : public SettingsFormTest,
                   public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(SavingTest, WritesTheThreeKeysInOrderAndCloses) {
  const auto [text, written] = GetParam();
  BGM_Kind = 1;
  BGM_File = "/music/b.mp3";
  form.Load();
  view.repeatText = text;
  form.Save();
  EXPECT_EQ(WrittenSettings(), SettingsFile("1", written, "/music/b.mp3"));
  EXPECT_EQ(std::to_string(BGM_RepeatTrack), written);
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects").back(),
            "DrawAnimatedRects 69206023 266,174,758,420 -> 300,400,300,400");
}

INSTANTIATE_TEST_SUITE_P(
    RepeatTexts, SavingTest,
    ::testing::Values(std::pair{"12", "12"}, std::pair{"", "0"}, std::pair{"2.5", "2"},
                      std::pair{"3.5", "4"}, std::pair{"-2.5", "-2"}, std::pair{"abc", "0"},
                      std::pair{"12abc", "0"}, std::pair{"40000", "0"}, std::pair{"32767.5", "0"},
                      std::pair{"-32768.5", "-32768"}, std::pair{"1e400", "0"}));

TEST_F(SettingsFormTest, SavingWithNoMusicStillWritesTheFileAndTrack) {
  BGM_Kind = 2;
  BGM_RepeatTrack = 5;
  BGM_File = "/music/kept.wav";
  form.Load();
  form.ChooseKind(0);
  form.Save();
  EXPECT_EQ(WrittenSettings(), SettingsFile("0", "5", "/music/kept.wav"));
}

TEST_F(SettingsFormTest, CancelAndTheTitleBarCloseWithoutWriting) {
  form.Load();
  form.ChooseKind(2);
  view.fileAnswer = "/music/new.mp3";
  form.ChooseFile();
  form.Cancel();
  EXPECT_TRUE(view.closed);
  EXPECT_TRUE(form.Unloaded());
  EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects").size(), 2u) << "open and close";
  form.Save();  // a late click on the set button after the dialog has gone
  form.Cancel();
  EXPECT_FALSE(WrittenSettings());
  EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects").size(), 2u) << "closed only once";
}

TEST_F(SettingsFormTest, TheFileDialogStartsInTheFolderAndTakesTheChoice) {
  BGM_Kind = 2;
  BGM_File = "/music/a.mp3";
  BGM_Folder = "/music";
  form.Load();

  view.fileAnswer = "/other/place/Song.MP3";
  form.ChooseFile();
  ASSERT_EQ(view.requests.size(), 1u);
  EXPECT_EQ(view.requests[0].Title, "ﾌｧｲﾙを開く");
  EXPECT_EQ(view.requests[0].FilterName, "BGMﾌｧｲﾙ (MP3 WAV)");
  EXPECT_EQ(view.requests[0].FilterPattern, "*.MP3;*.WAV");
  EXPECT_EQ(view.requests[0].InitialFolder, "/music");
  EXPECT_EQ(BGM_File, "/other/place/Song.MP3");
  EXPECT_EQ(view.fileCaption, "/other/place/Song.MP3");
  EXPECT_EQ(BGM_Folder, "/other/place");

  // The next opening starts where the last file was; a cancel changes nothing.
  view.fileAnswer.reset();
  form.ChooseFile();
  EXPECT_EQ(view.requests.back().InitialFolder, "/other/place");
  EXPECT_EQ(BGM_File, "/other/place/Song.MP3");
  EXPECT_EQ(view.fileCaption, "/other/place/Song.MP3");
  EXPECT_EQ(BGM_Folder, "/other/place");
  EXPECT_FALSE(WrittenSettings());
}

TEST_F(SettingsFormTest, APathTheSettingsFileCouldNotGiveBackIsRefused) {
  form.Load();
  const std::string longest = "/" + std::string(kMaxChosenPathBytes - 5, 'a') + ".mp3";
  ASSERT_EQ(longest.size(), 254u);
  for (const std::string& refused : {longest + "x", std::string(), std::string("\0/a.mp3", 7)}) {
    view.fileAnswer = refused;
    form.ChooseFile();
    EXPECT_EQ(BGM_File, "") << refused.size();
    EXPECT_EQ(BGM_Folder, folder);
  }
  view.fileAnswer = longest;
  form.ChooseFile();
  EXPECT_EQ(BGM_File, longest);
  // A path is taken up to its first NUL, as the answer buffer holds it.
  view.fileAnswer = std::string("/cut/here.wav\0/rest", 19);
  form.ChooseFile();
  EXPECT_EQ(BGM_File, "/cut/here.wav");
}

TEST_F(SettingsFormTest, ALeftClickOnTheAddressOpensItUnderTheHourglass) {
  form.Load();
  const DialogPoint link = CentreOf("lbl_URL");
  EXPECT_TRUE(form.OverLink(link.X, link.Y));
  EXPECT_FALSE(form.OverLink(link.X, link.Y - 20));

  view.calls.clear();
  form.MouseDown(kRightButton, link.X, link.Y);
  form.MouseUp(kRightButton, link.X, link.Y);
  form.MouseDown(kLeftButton, link.X, link.Y);
  form.MouseUp(kLeftButton, link.X, link.Y - 20);  // released elsewhere
  EXPECT_TRUE(view.calls.empty());

  view.addressOpens = false;  // the pointer comes back even when nothing opens
  form.MouseDown(kLeftButton, link.X, link.Y);
  form.MouseUp(kLeftButton, link.X + 3, link.Y);
  EXPECT_EQ(view.calls,
            (std::vector<std::string>{"Busy", "OpenAddress https://orvane.org/", "Default"}));
  EXPECT_FALSE(view.closed);
}

TEST_F(SettingsFormTest, TheAddressIsTheHomePageThatReadmeNames) {
  std::ifstream readme(std::string(ORVANE_SOURCE_DIR) + "/README.md");
  std::ostringstream text;
  text << readme.rdbuf();
  EXPECT_NE(text.str().find(std::string(HomePageAddress)), std::string::npos);
}

}  // namespace
}  // namespace orvane
