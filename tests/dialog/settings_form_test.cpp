// The settings dialog's behaviour against a fake window and a fake platform, with the
// settings file written for real into a folder of the test's own.
#include "host/dialog/settings_form.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    for (int index = 0; index < 3; ++index) {
      EXPECT_EQ(view.marks[index], index == kind ? ChoiceMark::Chosen : ChoiceMark::NotChosen);
    }
    EXPECT_EQ(view.repeatEnabled, kind == 1);
    EXPECT_EQ(view.fileButton.Fields().IsEnabled != kFalse, kind == 2);
  }

  testing::TempFolder folder;
  FakePlatform fake;
  FakeFormView view;
  SettingsForm form{fake, view};
};

TEST_F(SettingsFormTest, LoadShowsEachKindAndSetsUpTheRest) {
  struct Case {
    std::int16_t kind, track;
    const char* file;
    const char* repeatText;  // track 0 shows as the empty text
  };
  for (const Case& c :
       {Case{0, 0, "", ""}, Case{1, 12, "/m/old.mp3", "12"}, Case{2, 3, "/m/song.wav", "3"}}) {
    SCOPED_TRACE(::testing::Message() << "kind " << c.kind << ", track " << c.track);
    FakeFormView freshView;
    SettingsForm freshForm(fake, freshView);
    BGM_Kind = c.kind;
    BGM_RepeatTrack = c.track;
    BGM_File = c.file;
    // No pointer, or one off the screen: the effect runs from the corner.
    fake.cursorPos = c.track == 12 ? std::optional<Point>(Point{40000, 10}) : std::nullopt;
    freshForm.Load();
    EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects").back(),
              "DrawAnimatedRects 69206023 0,0,0,0 -> 266,174,758,420");
    ExpectChosen(freshView, c.kind);
    EXPECT_EQ(freshView.repeatText, c.repeatText);
    EXPECT_EQ(freshView.fileCaption, c.file);
  }
  fake.cursorPos = Point{300, 400};
  fake.calls.clear();
  form.Load();
  EXPECT_EQ(view.movedTo, (DialogPoint{266, 174})) << "centred, a third of the way down";
  // The window is in place before the opening effect runs from the pointer, and the pointer
  // is the default after it.
  EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects"), std::vector<std::string>{kOpened});
  EXPECT_EQ(view.calls.front(), "Move");
  EXPECT_EQ(view.calls.back(), "Default");
  std::vector<std::string> entries{""};
  for (int n = 1; n <= 30; ++n) entries.push_back(std::to_string(n));
  EXPECT_EQ(view.repeatEntries, entries);
  // The 469 x 165 panel takes one column of the 556-wide tile, ten copies high, and the loop
  // starts a second column before it stops.
  ASSERT_EQ(view.tiles.size(), 20u);
  EXPECT_EQ(view.tiles[10], (DialogPoint{556, 0}));
  EXPECT_FALSE(WrittenSettings()) << "loading writes nothing";
}

TEST_F(SettingsFormTest, ChoosingAKindByItsMarkOrLabelWithAnyButton) {
  BGM_RepeatTrack = 4;
  BGM_File = "/music/a.mp3";
  form.Load();
  for (const char* name : {"Img_BGM", "lbl_BGM"}) {
    for (int kind : {2, 1, 0}) {
      const int button = kind == 2 ? kLeftButton : kind == 1 ? kRightButton : kMiddleButton;
      SCOPED_TRACE(::testing::Message() << name << "(" << kind << ")");
      form.ChooseKind(kind == 0 ? 1 : 0);
      const DialogPoint at = testing::CentreInForm(name, kind);
      form.MouseDown(button, at.X, at.Y);
      ExpectChosen(view, kind);
      EXPECT_EQ(std::tuple(BGM_Kind, BGM_RepeatTrack, BGM_File),
                std::tuple(kind, 4, "/music/a.mp3"));
    }
  }
  // Pressing elsewhere, even between a mark and its label, chooses nothing.
  form.ChooseKind(1);
  const DialogPoint mark = testing::CentreInForm("Img_BGM", 2);
  form.MouseDown(kLeftButton, mark.X + 8, mark.Y);
  const DialogPoint heading = testing::CentreInForm("lbl", 14);
  form.MouseDown(kLeftButton, heading.X, heading.Y);
  EXPECT_EQ(BGM_Kind, 1);
  EXPECT_FALSE(WrittenSettings()) << "choosing writes nothing";
}

TEST_F(SettingsFormTest, SavingWritesTheThreeKeysInOrderAndCloses) {
  const std::pair<const char*, const char*> texts[] = {
      {"12", "12"}, {"", "0"}, {"2.5", "2"}, {"-32768.5", "-32768"}};
  for (const auto& [text, written] : texts) {
    SCOPED_TRACE(text);
    FakeFormView freshView;
    SettingsForm freshForm(fake, freshView);
    BGM_Kind = 1;
    BGM_File = "/music/b.mp3";
    freshForm.Load();
    freshView.repeatText = text;
    freshForm.Save();
    EXPECT_EQ(WrittenSettings(), SettingsFile("1", written, "/music/b.mp3"));
    EXPECT_TRUE(freshView.closed);
    EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects").back(),
              "DrawAnimatedRects 69206023 266,174,758,420 -> 300,400,300,400");
  }
  // With no music the last file and track are still written.
  BGM_Kind = 2;
  BGM_RepeatTrack = 5;
  BGM_File = "/music/kept.wav";
  form.Load();
  form.ChooseKind(0);
  form.Save();
  EXPECT_EQ(WrittenSettings(), SettingsFile("0", "5", "/music/kept.wav"));
}

// A system-wide installation keeps the settings in the user's folder, made on the first save;
// the host's own folder is never asked for.
TEST_F(SettingsFormTest, SavingToTheUsersFolderMakesItFirstAndLeavesTheHostsFolderAlone) {
  form.Load();
  form.Save();
  EXPECT_EQ(fake.CallsStartingWith("CreateDirectory"), std::vector<std::string>{});
  const std::string user = folder / "config/orvane";
  SetSettingsPath(user + "/Orvane.ini");
  fake.calls.clear();
  FakeFormView userView;
  SettingsForm userForm(fake, userView);
  BGM_Kind = 1;
  userForm.Load();
  userView.repeatText = "7";
  std::filesystem::create_directories(user);  // what the real CreateDirectory does
  std::filesystem::remove(folder / "Orvane.ini");
  userForm.Save();
  EXPECT_EQ(fake.CallsStartingWith("CreateDirectory"),
            std::vector<std::string>{"CreateDirectory " + user});
  EXPECT_EQ(testing::ReadBytes(user + "/Orvane.ini"), SettingsFile("1", "7", ""));
  EXPECT_FALSE(std::filesystem::exists(folder / "Orvane.ini"));
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
    EXPECT_FALSE(freshView.closed);
    EXPECT_FALSE(freshForm.Unloaded());
    EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects").size(), 1u) << "no closing effect";
    EXPECT_EQ(std::tuple(BGM_Kind, BGM_RepeatTrack, BGM_File), std::tuple(2, 5, "/music/new.wav"));
    ExpectChosen(freshView, 2);
    EXPECT_EQ(freshView.fileCaption, "/music/new.wav");
    EXPECT_EQ(testing::ReadBytes(readOnly), before);
    EXPECT_FALSE(std::filesystem::exists(noFolder));
    fake.onMessage = nullptr;
    if (c.file != readOnly) continue;
    std::filesystem::permissions(readOnly, std::filesystem::perms(0644));
    freshForm.Save();
    EXPECT_TRUE(freshView.closed);
    EXPECT_EQ(testing::ReadBytes(readOnly), SettingsFile("2", "5", "/music/new.wav"));
  }
}

TEST_F(SettingsFormTest, CancelClosesOnceWithoutWriting) {
  form.Load();
  form.ChooseKind(2);
  view.fileAnswer = "/music/new.mp3";
  form.ChooseFile();
  form.Cancel();
  EXPECT_TRUE(view.closed);
  EXPECT_TRUE(form.Unloaded());
  form.Save();  // a late click on the set button after the dialog has gone
  form.Cancel();
  EXPECT_FALSE(WrittenSettings());
  EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects").size(), 2u) << "opened and closed once";
}

TEST_F(SettingsFormTest, TheFileDialogStartsInTheFolderAndTakesOnlyPathsThatFit) {
  BGM_Kind = 2;
  form.Load();
  // Before any music file was chosen: the user's music folder, else the home folder.
  const struct {
    std::string music, home, startedIn;
  } firsts[] = {
      {"/home/u/Musik", "/home/u", "/home/u/Musik"}, {"", "/home/u", "/home/u"}, {"", "", ""}};
  for (const auto& first : firsts) {
    BGM_Folder.clear();
    fake.musicFolder = first.music;
    fake.homeFolder = first.home;
    view.fileAnswer = std::nullopt;
    form.ChooseFile();
    EXPECT_EQ(view.requests.back().InitialFolder, first.startedIn) << first.music;
  }
  BGM_Folder = "/music";
  // The longest path the system takes: 4095 bytes.
  const std::string longest = "/" + std::string(4090, 'a') + ".mp3";
  // Each answer, then the file and folder kept: a cancel and paths the settings file could
  // not give back change nothing; a path is taken up to its first NUL.
  const struct {
    std::optional<std::string> answer;
    std::string file, folder;
  } steps[] = {{"/other/place/Song.MP3", "/other/place/Song.MP3", "/other/place"},
               {std::nullopt, "/other/place/Song.MP3", "/other/place"},
               {longest + "x", "/other/place/Song.MP3", "/other/place"},
               {std::string("\0/a.mp3", 7), "/other/place/Song.MP3", "/other/place"},
               {longest, longest, "/"},
               {std::string("/cut/here.wav\0/rest", 19), "/cut/here.wav", "/cut"}};
  std::string startedIn = "/music";
  for (const auto& step : steps) {
    view.fileAnswer = step.answer;
    form.ChooseFile();
    EXPECT_EQ(view.requests.back().InitialFolder, startedIn);
    EXPECT_EQ(BGM_File, step.file) << step.answer.value_or("(cancel)").size();
    EXPECT_EQ(view.fileCaption, step.file);
    EXPECT_EQ(BGM_Folder, step.folder);
    startedIn = step.folder;
  }
  EXPECT_EQ(std::tuple(view.requests[0].Title, view.requests[0].FilterName,
                       view.requests[0].FilterPattern),
            std::tuple("ﾌｧｲﾙを開く", "BGMﾌｧｲﾙ (MP3 WAV)", "*.MP3;*.WAV"));
  EXPECT_FALSE(WrittenSettings());
}

// Whatever name the file chooser returns is saved and read back as it was; only a line break,
// which cannot stand in a settings line, is refused, and with a message.
TEST_F(SettingsFormTest, EveryChosenNameIsSavedButALineBreakIsRefusedAloud) {
  // Quotes and blanks at either end would be lost by a plain settings line.
  const std::string names[] = {"/m/\"quoted\"", "/m/ blanks .mp3 ", "/m/\xFF\xFE.wav",
                               "/" + std::string(4090, 'b') + ".mp3"};
  for (const std::string& name : names) {
    FakeFormView freshView;
    SettingsForm freshForm(fake, freshView);
    freshForm.Load();
    freshView.fileAnswer = name;
    freshForm.ChooseFile();
    freshForm.Save();
    EXPECT_EQ(ReadIni("Section", "BGM\xCC\xA7\xB2\xD9", SettingsPath()), name);
  }
  EXPECT_TRUE(fake.CallsStartingWith("MessageBox").empty());
  for (const char* name : {"/m/two\nlines.mp3", "/m/cr\r.wav"}) {
    view.fileAnswer = name;
    form.ChooseFile();
    EXPECT_EQ(BGM_File, names[std::size(names) - 1]) << "the last name chosen stays";
    EXPECT_EQ(view.fileCaption, "unset");
  }
  const std::string message = "MessageBox 改行を含むﾌｧｲﾙ名は設定できません！";
  EXPECT_EQ(fake.CallsStartingWith("MessageBox"), (std::vector<std::string>{message, message}));
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
