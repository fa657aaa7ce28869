#include "host/dialog/settings_form.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "host/Orvane_B.h"
#include "host/dialog/dialog_layout.h"
#include "host/dialog/repeat_track.h"
#include "platform/fake/fake_platform.h"
#include "tests/controls/fakes.h"
#include "tests/dialog/form_places.h"
#include "tests/support/temp_folder.h"

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

// A dialog window that keeps what the form shows on it and answers from its fields.
struct FakeFormView final : SettingsFormView {
  static constexpr WindowHandle kHandle = 0x4200007;
  WindowHandle Handle() override { return kHandle; }
  void Move(DialogPoint topLeft) override { movedTo = topLeft; }
  void PaintBackground(const std::vector<RowColour>&) override {}
  void TilePanel(const std::vector<DialogPoint>& positions) override { tiles = positions; }
  void SetChoiceMark(int index, ChoiceMark mark) override { marks.at(index) = mark; }
  void SetRepeatEnabled(bool enabled) override { repeatEnabled = enabled; }
  void SetRepeatText(const std::string& text) override { repeatText = text; }
  std::string RepeatText() override { return repeatText; }
  void AddRepeatEntry(const std::string& text) override { repeatEntries.push_back(text); }
  void SetFileCaption(const std::string& text) override { fileCaption = text; }
  std::optional<std::string> OpenFile(const OpenFileRequest& request) override {
    requests.push_back(request);
    return fileAnswer;
  }
  bool OpenAddress(const std::string&) override { return true; }
  void SetBusyPointer(bool) override {}
  void Present() override {}
  void Close() override { closed = true; }

  testing::FakePlatform commandPlatform;
  Command fileButton{commandPlatform}, setButton{commandPlatform};
  std::optional<DialogPoint> movedTo;
  std::vector<DialogPoint> tiles;
  // Something no load step writes, so that a step that never ran shows.
  std::array<ChoiceMark, 3> marks{ChoiceMark(-1), ChoiceMark(-1), ChoiceMark(-1)};
  bool repeatEnabled = true;
  std::string repeatText = "unset", fileCaption = "unset";
  std::vector<std::string> repeatEntries;
  std::optional<std::string> fileAnswer;
  std::vector<OpenFileRequest> requests;
  bool closed = false;
};

class SettingsFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHostFolder(folder.path());
    BGM_Kind = BGM_RepeatTrack = 0;
    BGM_File.clear();
    BGM_Folder = folder.path();
    fake.cursorPos = Point{300, 400};
    fake.windowRects[FakeFormView::kHandle] = Rect{0, 0, 502, 276};
    form.SetUpButton(DialogControlNamed("Cmd_File"), view.fileButton);
    form.SetUpButton(DialogControlNamed("Cmd_Set"), view.setButton);
  }
  // The marks, the repeat box and the file button show kind `kind` chosen.
  static void ExpectChosen(const FakeFormView& view, int kind) {
    for (int index = 0; index < 3; ++index)
      EXPECT_EQ(view.marks[index], index == kind ? ChoiceMark::Chosen : ChoiceMark::NotChosen);
    EXPECT_EQ(view.repeatEnabled, kind == 1);
    EXPECT_EQ(view.fileButton.Fields().IsEnabled != kFalse, kind == 2);
  }

  testing::TempFolder folder;
  FakePlatform fake;
  FakeFormView view;
  SettingsForm form{fake, view};
};

// Loaded, the dialog is centred a third of the way down by its whole size (a frame of 5 and a
// title bar of 25: 502 x 276); the panel takes one column of the 556-wide tile, ten copies high.
// A press with any button on a mark or its label chooses that kind, on another label nothing. A
// save that fails keeps the dialog open; one into the user's folder writes the last file even with
// no music.
TEST_F(SettingsFormTest, LoadPressesAndASaveThatFailsThenOneThatWorks) {
  BGM_Kind = 1;
  BGM_RepeatTrack = 4;
  BGM_File = "/m/a.mp3";
  form.Load();
  EXPECT_EQ(view.movedTo, (DialogPoint{261, 164}));
  EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects"),
            std::vector<std::string>{"DrawAnimatedRects 69206023 300,400,300,400 -> 0,0,502,276"});
  ExpectChosen(view, 1);
  EXPECT_EQ(std::tuple(view.repeatText, view.fileCaption, view.repeatEntries.size()),
            std::tuple("4", "/m/a.mp3", 31u));
  EXPECT_EQ(view.repeatEntries[0] + "," + view.repeatEntries[30], ",30");
  ASSERT_EQ(view.tiles.size(), 20u);
  EXPECT_EQ(view.tiles[10], (DialogPoint{556, 0}));
  const struct {
    const char* name;
    int index, button, chosen;
  } cases[] = {{"Img_BGM", 2, kLeftButton, 2},
               {"lbl_BGM", 0, kMiddleButton, 0},
               {"lbl_BGM", 1, kRightButton, 1},
               {"lbl", 14, kLeftButton, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.name << "(" << c.index << ")");
    const DialogPoint at = testing::CentreInForm(c.name, c.index);
    form.MouseDown(c.button, at.X, at.Y);
    ExpectChosen(view, c.chosen);
    EXPECT_EQ(std::tuple(BGM_Kind, BGM_RepeatTrack, BGM_File), std::tuple(c.chosen, 4, "/m/a.mp3"));
  }

  const std::string readOnly = folder / "Orvane.ini", before = testing::SettingsFile("0", "3", "");
  testing::WriteBytes(readOnly, before);
  std::filesystem::permissions(readOnly, std::filesystem::perms(0444));
  form.ChooseKind(2);
  view.fileAnswer = "/m/new.wav";
  form.ChooseFile();
  view.repeatText = "5";
  form.Save();
  EXPECT_EQ(fake.CallsStartingWith("MessageBox"),
            std::vector<std::string>{"MessageBox 設定ﾌｧｲﾙに書き込めません！\n" + readOnly +
                                     ": Permission denied"});
  EXPECT_FALSE(view.closed || form.Unloaded());
  EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects").size(), 1u) << "no closing effect";
  EXPECT_EQ(std::tuple(BGM_Kind, BGM_RepeatTrack, BGM_File), std::tuple(2, 5, "/m/new.wav"));
  ExpectChosen(view, 2);
  EXPECT_EQ(testing::ReadBytes(readOnly), before);
  const std::string user = folder / "config/orvane";
  SetSettingsPath(user + "/Orvane.ini");
  std::filesystem::create_directories(user);  // what the real CreateDirectory does
  form.ChooseKind(0);
  form.Save();
  EXPECT_EQ(testing::ReadBytes(user + "/Orvane.ini"),
            testing::SettingsFile("0", "5", "/m/new.wav"));
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects").back(),
            "DrawAnimatedRects 69206023 0,0,502,276 -> 300,400,300,400");
  EXPECT_EQ(fake.CallsStartingWith("CreateDirectory"),
            std::vector<std::string>{"CreateDirectory " + user});
}

// A code page without "é", and a file that may have a short name.
struct FakeSettingsText final : SettingsText {
  std::optional<std::string> shortPath;
  std::optional<std::string> FromPath(const std::string& path) override {
    if (path.find("\xC3\xA9") != std::string::npos) return std::nullopt;
    return path;
  }
  std::string ToPath(const std::string& text) override { return text; }
  std::optional<std::string> ShortPath(const std::string&) override { return shortPath; }
};

// The file dialog starts where the last file was chosen, else in the music folder, else at home.
// A name the settings file cannot hold (a line break, a character outside the code page, over
// 4095 bytes) is kept in its short form where there is one, else refused aloud.
TEST_F(SettingsFormTest, TheFileDialogStartsInTheFolderAndTakesOnlyPathsThatFit) {
  const std::string tooLong = "/" + std::string(4092, 'l') + ".mp3";  // 4097 bytes
  const std::string longest = "/m/" + std::string(4088, 'f') + ".mp3";
  const std::string outside = "ｼｽﾃﾑの文字ｺｰﾄﾞにない文字を含むﾌｧｲﾙ名は設定できません！";
  const std::string lineBreak = "改行を含むﾌｧｲﾙ名は設定できません！";
  const std::optional<std::string> none;
  using Paths = std::pair<std::string, std::string>;
  const struct {
    std::string music, home, last;
    std::optional<std::string> answer, shortPath;
    std::string startedIn, stored, folder, message;  // stored "": the last file kept
  } cases[] = {
      {"/home/u/Musik", "/home/u", "", none, none, "/home/u/Musik", "", "", ""},
      {"", "/home/u", "", std::string("\0/a.mp3", 7), none, "/home/u", "", "", ""},
      {"", "", "", "/a/b.wav", none, "", "/a/b.wav", "/a", ""},
      {"/m", "/h", "/music", std::string("/cut/here.wav\0/rest", 19), none, "/music",
       "/cut/here.wav", "/cut", ""},
      {"", "", "/old", longest, none, "/old", longest, "/m", ""},
      {"", "", "/old", "/m/two\nlines.mp3", none, "/old", "", "", lineBreak},
      {"", "", "/old", "/m/cr\r.wav", "/m/CR~1.WAV", "/old", "", "", lineBreak},
      {"", "", "/old", "/m/caf\xC3\xA9.mp3", "/m/CAFE~1.MP3", "/old", "/m/CAFE~1.MP3", "/m", ""},
      {"", "", "/old", "/m/caf\xC3\xA9.mp3", "/m/caf\xC3\xA9~1.MP3", "/old", "", "", outside},
      {"", "", "/old", tooLong, "/m/LLLL~1.MP3", "/old", "/m/LLLL~1.MP3", "/", ""},
      {"", "", "/old", tooLong, tooLong, "/old", "", "", "長すぎるﾊﾟｽは設定できません！"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer.value_or("(cancel)").substr(0, 20) + " " + c.shortPath.value_or("-"));
    FakeSettingsText text;
    text.shortPath = c.shortPath;
    FakeFormView freshView;
    SettingsForm freshForm(fake, freshView, text);
    fake.musicFolder = c.music;
    fake.homeFolder = c.home;
    BGM_File = "/m/old.wav";
    BGM_Folder = c.last;
    fake.calls.clear();
    freshView.fileAnswer = c.answer;
    freshForm.ChooseFile();
    const OpenFileRequest& asked = freshView.requests.at(0);
    EXPECT_EQ(std::tuple(asked.InitialFolder, asked.Title, asked.FilterName, asked.FilterPattern),
              std::tuple(c.startedIn, "ﾌｧｲﾙを開く", "BGMﾌｧｲﾙ (MP3 WAV)", "*.MP3;*.WAV"));
    EXPECT_EQ(std::pair(BGM_File, BGM_Folder),
              c.stored.empty() ? Paths("/m/old.wav", c.last) : std::pair(c.stored, c.folder));
    EXPECT_EQ(fake.CallsStartingWith("MessageBox"),
              c.message.empty() ? std::vector<std::string>{}
                                : std::vector<std::string>{"MessageBox " + c.message});
    if (c.stored.empty()) continue;
    freshForm.Save();
    EXPECT_EQ(ReadIni("Section", "BGM\xCC\xA7\xB2\xD9", SettingsPath()), c.stored);
  }
}

}  // namespace
}  // namespace orvane
