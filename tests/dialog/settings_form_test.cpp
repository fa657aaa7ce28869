// The settings dialog's behaviour against a fake window and a fake platform, with the
// settings file written for real into a folder of the test's own.
#include "host/dialog/settings_form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "host/Orvane_B.h"
#include "platform/fake/fake_platform.h"
#include "tests/dialog/fake_form_view.h"
#include "tests/dialog/form_places.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using testing::FakeFormView;

// The three keys as the settings file holds them (code page 932), in their order.
std::string SettingsFile(const std::string& kind, const std::string& track,
                         const std::string& file) {
  return "[Section]\r\nBGM\x8B\xE6\x95\xAA=" + kind + "\r\nBGM\xD8\xCB\xDF\xB0\xC4=" + track +
         "\r\nBGM\xCC\xA7\xB2\xD9=" + file + "\r\n";
}

const char kOpened[] = "DrawAnimatedRects 69206023 300,400,300,400 -> 266,174,758,420";

class SettingsFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHostFolder(folder.path());
    BGM_Kind = 0;
    BGM_RepeatTrack = 0;
    BGM_File.clear();
    BGM_Folder = folder.path();
    AnimPointX = AnimPointY = 0;
    fake.cursorPos = Point{300, 400};
    fake.windowRects[FakeFormView::kHandle] = Rect{266, 174, 758, 420};
  }

  std::optional<std::string> WrittenSettings() const {
    if (!std::filesystem::exists(SettingsPath())) return std::nullopt;
    return testing::ReadBytes(SettingsPath());
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

// Loaded, the dialog is centred a third of the way down, by its whole size where the frame is
// known (5 pixels with a title bar of 25: 502 x 276), then opens from the pointer and shows the
// settings; the panel takes one column of the 556-wide tile, ten copies high.
TEST_F(SettingsFormTest, LoadPlacesTheDialogAndShowsTheSettings) {
  BGM_Kind = 1;
  BGM_RepeatTrack = 12;
  BGM_File = "/m/old.mp3";
  form.Load();
  EXPECT_EQ(view.movedTo, (DialogPoint{266, 174}));
  EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects"), std::vector<std::string>{kOpened});
  EXPECT_EQ(std::pair(view.calls.front(), view.calls.back()),
            (std::pair<std::string, std::string>("Move", "Default")));
  ExpectChosen(view, 1);
  EXPECT_EQ(std::tuple(view.repeatText, view.fileCaption),
            (std::tuple<std::string, std::string>("12", "/m/old.mp3")));
  ASSERT_EQ(view.repeatEntries.size(), 31u);
  EXPECT_EQ(std::pair(view.repeatEntries[0], view.repeatEntries[30]),
            (std::pair<std::string, std::string>("", "30")));
  ASSERT_EQ(view.tiles.size(), 20u);
  EXPECT_EQ(view.tiles[10], (DialogPoint{556, 0}));
  EXPECT_FALSE(WrittenSettings()) << "loading writes nothing";
  fake.windowRects[FakeFormView::kHandle] = Rect{0, 0, 502, 276};
  FakeFormView framed;
  SettingsForm(fake, framed).Load();
  EXPECT_EQ(framed.movedTo, (DialogPoint{261, 164}));
}

// A press with any button on a mark or its label chooses that kind, and nothing else changes;
// a press between a mark and its label, or on a heading, chooses nothing.
TEST_F(SettingsFormTest, ChoosingAKindByItsMarkOrLabelWithAnyButton) {
  BGM_RepeatTrack = 4;
  BGM_File = "/music/a.mp3";
  form.Load();
  const struct {
    const char* name;
    int index, button, chosen;
    int dx = 0;
  } cases[] = {{"Img_BGM", 2, kLeftButton, 2},    {"lbl_BGM", 1, kRightButton, 1},
               {"lbl_BGM", 0, kMiddleButton, 0},  {"Img_BGM", 1, kLeftButton, 1},
               {"Img_BGM", 2, kLeftButton, 1, 8}, {"lbl", 14, kLeftButton, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.name << "(" << c.index << ")");
    const DialogPoint at = testing::CentreInForm(c.name, c.index);
    form.MouseDown(c.button, at.X + c.dx, at.Y);
    ExpectChosen(view, c.chosen);
    EXPECT_EQ(std::tuple(BGM_Kind, BGM_RepeatTrack, BGM_File),
              std::tuple(c.chosen, 4, "/music/a.mp3"));
  }
  EXPECT_FALSE(WrittenSettings()) << "choosing writes nothing";
}

// "設定" writes the three keys in order, the track as the box's text rounds it, the last file and
// track even with no music; into the user's folder, made first, for a system-wide installation.
// "ｷｬﾝｾﾙ" writes nothing, and a late press after the dialog has gone does nothing.
TEST_F(SettingsFormTest, SetWritesTheThreeKeysInOrderAndCancelNothing) {
  const std::string user = folder / "config/orvane";
  const struct {
    int kind;
    const char* text;
    std::string file, settings, written;
  } cases[] = {
      {1, "", "/music/b.mp3", "", SettingsFile("1", "0", "/music/b.mp3")},
      {1, "-32768.5", "/music/b.mp3", "", SettingsFile("1", "-32768", "/music/b.mp3")},
      {0, "5", "/music/kept.wav", "", SettingsFile("0", "5", "/music/kept.wav")},
      {1, "7", "", user + "/Orvane.ini", SettingsFile("1", "7", "")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    if (!c.settings.empty()) SetSettingsPath(c.settings);
    std::filesystem::create_directories(user);  // what the real CreateDirectory does
    fake.calls.clear();
    FakeFormView freshView;
    SettingsForm freshForm(fake, freshView);
    BGM_Kind = 2;
    BGM_File = c.file;
    freshForm.Load();
    freshForm.ChooseKind(c.kind);
    freshView.repeatText = c.text;
    freshForm.Save();
    EXPECT_EQ(WrittenSettings(), c.written);
    EXPECT_TRUE(freshView.closed);
    EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects").back(),
              "DrawAnimatedRects 69206023 266,174,758,420 -> 300,400,300,400");
    EXPECT_EQ(fake.CallsStartingWith("CreateDirectory"),
              c.settings.empty() ? std::vector<std::string>{}
                                 : std::vector<std::string>{"CreateDirectory " + user});
  }
  EXPECT_EQ(testing::ReadBytes(folder / "Orvane.ini"), SettingsFile("0", "5", "/music/kept.wav"))
      << "the host's folder left alone";

  std::filesystem::remove(SettingsPath());
  fake.calls.clear();
  form.Load();
  form.ChooseKind(2);
  view.fileAnswer = "/music/new.mp3";
  form.ChooseFile();
  form.Cancel();
  EXPECT_TRUE(view.closed && form.Unloaded());
  form.Save();
  form.Cancel();
  EXPECT_FALSE(WrittenSettings());
  EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects").size(), 2u) << "opened and closed once";
}

// A save that fails says so, naming the file and the system's reason, and the dialog stays
// open with the choice as it was; once the file can be written, the same press saves and closes.
TEST_F(SettingsFormTest, ASaveThatFailsSaysWhyAndKeepsTheDialogAndTheChoice) {
  const std::string readOnly = folder / "Orvane.ini";
  const std::string noFolder = folder / "config/orvane/Orvane.ini";  // the fake makes no folder
  const struct {
    std::string file, message;
  } cases[] = {
      {noFolder, "設定ﾌｧｲﾙに書き込めません！\n" + noFolder + ": No such file or directory"},
      {readOnly, "設定ﾌｧｲﾙに書き込めません！\n" + readOnly + ": Permission denied"},
  };
  const std::string before = SettingsFile("0", "3", "/music/old.wav");
  testing::WriteBytes(readOnly, before);
  std::filesystem::permissions(readOnly, std::filesystem::perms(0444));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    SetSettingsPath(c.file);
    fake.calls.clear();
    FakeFormView freshView;
    SettingsForm freshForm(fake, freshView);
    BGM_Kind = 0;
    freshForm.Load();
    freshForm.ChooseKind(2);
    freshView.fileAnswer = "/music/new.wav";
    freshForm.ChooseFile();
    freshView.repeatText = "5";
    // While the box is up the dialog is still there.
    fake.onMessage = [&](std::string_view) { EXPECT_FALSE(freshView.closed); };
    freshForm.Save();
    EXPECT_EQ(fake.CallsStartingWith("MessageBox"),
              std::vector<std::string>{"MessageBox " + c.message});
    EXPECT_FALSE(freshView.closed || freshForm.Unloaded());
    EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects").size(), 1u) << "no closing effect";
    EXPECT_EQ(std::tuple(BGM_Kind, BGM_RepeatTrack, BGM_File), std::tuple(2, 5, "/music/new.wav"));
    ExpectChosen(freshView, 2);
    EXPECT_EQ(testing::ReadBytes(readOnly), before);
    fake.onMessage = nullptr;
    if (c.file != readOnly) continue;
    std::filesystem::permissions(readOnly, std::filesystem::perms(0644));
    freshForm.Save();
    EXPECT_TRUE(freshView.closed);
    EXPECT_EQ(testing::ReadBytes(readOnly), SettingsFile("2", "5", "/music/new.wav"));
  }
}

// The file dialog's texts; it starts where the last file was chosen, before any in the user's
// music folder, else the home folder. A cancel, or a name cut to nothing at a NUL, changes nothing.
TEST_F(SettingsFormTest, TheFileDialogStartsInTheFolderAndTakesOnlyPathsThatFit) {
  const struct {
    std::string music, home, last;
    std::optional<std::string> answer;
    std::string startedIn, file, folder;
  } cases[] = {
      {"/home/u/Musik", "/home/u", "", std::nullopt, "/home/u/Musik", "", ""},
      {"", "/home/u", "", std::string("\0/a.mp3", 7), "/home/u", "", ""},
      {"", "", "", "/a/b.wav", "", "/a/b.wav", "/a"},
      {"/m", "/h", "/music", std::string("/cut/here.wav\0/rest", 19), "/music", "/cut/here.wav",
       "/cut"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.startedIn);
    fake.musicFolder = c.music;
    fake.homeFolder = c.home;
    BGM_Folder = c.last;
    BGM_File.clear();
    view.fileAnswer = c.answer;
    form.ChooseFile();
    EXPECT_EQ(view.requests.back().InitialFolder, c.startedIn);
    EXPECT_EQ(std::pair(BGM_File, BGM_Folder),
              std::pair(c.file, c.file.empty() ? c.last : c.folder));
  }
  EXPECT_EQ(std::tuple(view.requests[0].Title, view.requests[0].FilterName,
                       view.requests[0].FilterPattern),
            std::tuple("ﾌｧｲﾙを開く", "BGMﾌｧｲﾙ (MP3 WAV)", "*.MP3;*.WAV"));
}

// A code page without "é", and files that may have a short name.
class FakeSettingsText final : public SettingsText {
 public:
  std::map<std::string, std::string> shortPaths;
  std::optional<std::string> FromPath(const std::string& path) override {
    if (path.find("\xC3\xA9") != std::string::npos) return std::nullopt;
    return path;
  }
  std::string ToPath(const std::string& text) override { return text; }
  std::optional<std::string> ShortPath(const std::string& path) override {
    const auto found = shortPaths.find(path);
    if (found == shortPaths.end()) return std::nullopt;
    return found->second;
  }
};

// Whatever name the file dialog returns is saved and read back as it was. A name the settings
// file cannot hold (a line break, a character outside the code page, over 4095 bytes) is kept in
// its short form where there is one, else refused aloud, keeping the last file and folder.
TEST_F(SettingsFormTest, EveryChosenNameIsSavedOrShortenedOrRefusedAloud) {
  const std::string tooLong = "/" + std::string(4092, 'l') + ".mp3";  // 4097 bytes
  const std::string longest = "/m/" + std::string(4088, 'f') + ".mp3";
  const std::string outside = "ｼｽﾃﾑの文字ｺｰﾄﾞにない文字を含むﾌｧｲﾙ名は設定できません！";
  const std::string lineBreak = "改行を含むﾌｧｲﾙ名は設定できません！";
  const struct {
    std::string chosen;
    std::optional<std::string> shortPath;
    std::string stored;  // "" when refused with message
    std::string message;
  } cases[] = {
      // Quotes and blanks at either end would be lost by a plain settings line.
      {"/m/\"quoted\"", std::nullopt, "/m/\"quoted\"", ""},
      {"/m/ blanks .mp3 ", std::nullopt, "/m/ blanks .mp3 ", ""},
      {longest, std::nullopt, longest, ""},
      {"/m/two\nlines.mp3", std::nullopt, "", lineBreak},
      {"/m/cr\r.wav", "/m/CR~1.WAV", "", lineBreak},
      {"/m/caf\xC3\xA9.mp3", "/m/CAFE~1.MP3", "/m/CAFE~1.MP3", ""},
      {"/m/caf\xC3\xA9.mp3", "/m/caf\xC3\xA9~1.MP3", "", outside},
      {tooLong, "/m/LLLL~1.MP3", "/m/LLLL~1.MP3", ""},
      {tooLong, tooLong, "", "長すぎるﾊﾟｽは設定できません！"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen.substr(0, 20) + " " + c.shortPath.value_or("(no short name)"));
    FakeSettingsText text;
    if (c.shortPath) text.shortPaths[c.chosen] = *c.shortPath;
    FakeFormView freshView;
    SettingsForm freshForm(fake, freshView, text);
    BGM_File = "/m/old.wav";
    BGM_Folder = "/old";
    fake.calls.clear();
    freshView.fileAnswer = c.chosen;
    freshForm.ChooseFile();
    EXPECT_EQ(BGM_File, c.stored.empty() ? "/m/old.wav" : c.stored);
    EXPECT_EQ(BGM_Folder, c.stored.empty() ? "/old" : FolderOf(c.chosen));
    EXPECT_EQ(fake.CallsStartingWith("MessageBox"),
              c.message.empty() ? std::vector<std::string>{}
                                : std::vector<std::string>{"MessageBox " + c.message});
    if (c.stored.empty()) continue;
    freshForm.Save();
    EXPECT_EQ(ReadIni("Section", "BGM\xCC\xA7\xB2\xD9", SettingsPath()), c.stored);
  }
}

TEST_F(SettingsFormTest, ALeftClickOnTheAddressOpensItUnderTheHourglass) {
  form.Load();
  const DialogPoint link = testing::CentreInForm("lbl_URL");
  EXPECT_TRUE(form.OverLink(link.X, link.Y));
  EXPECT_FALSE(form.OverLink(link.X, link.Y - 20));
  view.calls.clear();
  form.MouseDown(kRightButton, link.X, link.Y);
  form.MouseUp(kRightButton, link.X, link.Y);
  EXPECT_TRUE(view.calls.empty());
  view.addressOpens = false;  // the pointer comes back even when nothing opens
  form.MouseDown(kLeftButton, link.X, link.Y);
  form.MouseUp(kLeftButton, link.X + 3, link.Y);
  EXPECT_EQ(view.calls,
            (std::vector<std::string>{"Busy", "OpenAddress https://orvane.org/", "Default"}));
  EXPECT_FALSE(view.closed);
}

}  // namespace
}  // namespace orvane
