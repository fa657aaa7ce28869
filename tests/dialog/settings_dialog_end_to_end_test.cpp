#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <thread>

#include "tests/mci/media_files.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/pulse.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace orvane::testing;

class SettingsDialogEndToEnd : public ::testing::TestWithParam<Build> {
 protected:
  void SetUp() override { ASSERT_TRUE(xvfb_.running() && programs_.ready()); }
  void TearDown() override {
    if (HasFailure()) dialog_.Shot().SavePpm(::testing::TempDir() + "/orvane-dialog.ppm");
  }
  // The file button's face, its left band at the middle row: a colour of its own in each look.
  bool Button(Rgb expected) {
    return dialog_.Shows({InForm("Cmd_File").X + 2, InForm("Cmd_File").Y + 12}, expected);
  }

  Xvfb xvfb_;
  Programs programs_{GetParam(), xvfb_};
  TempFolder folder_;
  DialogDriver dialog_{programs_, xvfb_, folder_.path()};
};

// The file button's looks under the pointer, a track typed, a file picked in the system's file
// dialog (on Linux a path far over the 255 bytes of a Windows profile read, under Wine a name
// outside code page 1252, kept by its short name), then "設定"; the saver started next plays it.
TEST_P(SettingsDialogEndToEnd, TheButtonsLooksATrackAFileChosenAndSetAndAFailedSave) {
  std::string song = folder_ / "music";
  if (!programs_.windows()) {
    song +=
        "/音楽の棚のいちばん奥にしまってある古いアルバム/もう聴かなくなった曲ばかりを集めた箱/"
        "朝にもう一度だけ聴きたくなる静かな歌の長い名前の二枚目の最後に入っている";
  }
  fs::create_directories(song);
  song += programs_.windows() ? "/ゲーム.wav" : "/Morning Song.WAV";
  WriteWav(song, 3.0, 440);
  ASSERT_TRUE(dialog_.Open()) << dialog_.host().Stderr();
  EXPECT_EQ(std::pair(dialog_.Shot().width, dialog_.Shot().height), std::pair(492, 246));
  const Rect none = InForm("Img_BGM", 0), file = InForm("Img_BGM", 2);
  EXPECT_TRUE(dialog_.Chosen(0)) << "no music yet";
  EXPECT_TRUE(dialog_.Shows({file.X + 6, file.Y + 6}, {248, 248, 248}));
  EXPECT_TRUE(Button({0xF5, 0xF4, 0xEA})) << "Disable";
  // Enter and Escape close nothing: the clicks below still find the dialog.
  dialog_.Xdotool("windowfocus --sync " + std::to_string(dialog_.window()) + " key Return Escape");
  dialog_.Click("lbl_BGM", 2);  // "MP3、WAV"
  ASSERT_TRUE(dialog_.Chosen(2));
  EXPECT_TRUE(dialog_.Shows({none.X + 6, none.Y + 6}, {248, 248, 248}));
  dialog_.Xdotool("mousemove 5 5");  // off the dialog
  EXPECT_TRUE(Button({0xF4, 0xF4, 0xF0})) << "Normal";
  dialog_.MoveOver(CentreInForm("Cmd_File"));
  EXPECT_TRUE(Button({0xFC, 0xCA, 0x69})) << "HighLight";
  std::this_thread::sleep_for(350ms);  // hover ticks with the pointer on the caption keep it
  EXPECT_TRUE(Button({0xFC, 0xCA, 0x69})) << "HighLight after the hover ticks";
  dialog_.Xdotool("mousedown 1");
  EXPECT_TRUE(Button({0x00, 0x3C, 0x74})) << "Pressed";
  dialog_.Xdotool("mousemove 5 5");  // off the dialog
  EXPECT_TRUE(Button({0xA9, 0xC5, 0xEF})) << "held and left";
  dialog_.Xdotool("mouseup 1");
  // A click taken after the release shows that it opened no file dialog, which would hold it.
  dialog_.Click("lbl_BGM", 1);  // "音楽CD"
  EXPECT_TRUE(dialog_.Chosen(1));
  EXPECT_EQ(dialog_.Visible("ﾌｧｲﾙを開く", 0ms), 0u) << "released off the button: nothing opens";
  // The repeat box, usable now, has a white field; its edit is left of the arrow.
  const Rect box = InForm("BGM_Repeat");
  EXPECT_TRUE(dialog_.Shows({box.X + 10, box.Y + 10}, {255, 255, 255}));
  dialog_.MoveOver({box.X + 8, box.Y + box.Height / 2});
  dialog_.Xdotool("click 1 type --delay 50 12345");
  dialog_.Click("lbl_BGM", 2);  // "MP3、WAV"
  ASSERT_TRUE(dialog_.Chosen(2));
  // Under Wine a character xdotool lost on a busy machine names a file that is not there, which
  // has no short name and is refused aloud: the message is answered and the file chosen again.
  unsigned long refused = 1;
  for (int attempt = 0; attempt < 3 && refused != 0; ++attempt) {
    ASSERT_TRUE(dialog_.ClickUntil("Cmd_File", [&] { return dialog_.Visible("ﾌｧｲﾙを開く", 0ms); }));
    ASSERT_TRUE(dialog_.ChooseFile(song)) << "the file dialog takes the typed path";
    // GTK shows the file label's whole path as a tooltip, a window titled with the program's name.
    if (!programs_.windows()) {
      dialog_.MoveOver(CentreInForm("lbl_BGM", 0));
      EXPECT_EQ(dialog_.Visible("Orvane\\.scr", 1500ms), 0u) << "none over なし";
      dialog_.MoveOver({InForm("lbl_Fname").X + 20, InForm("lbl_Fname").Y + 8});
      EXPECT_NE(dialog_.Visible("Orvane\\.scr", 10s), 0u) << "over lbl_Fname";
    }
    EXPECT_FALSE(dialog_.Settings()) << "nothing is written before 設定";
    ASSERT_TRUE(dialog_.ClickUntil("Cmd_Set", [&] {
      return !dialog_.host().Running() ||
             (refused = dialog_.Visible("Orvane \\(ScreenSaver\\)", 0ms)) != 0;
    }));
    if (refused != 0)
      dialog_.Xdotool("windowfocus --sync " + std::to_string(refused) + " key Return");
  }
  EXPECT_EQ(dialog_.host().Wait(30s), 0) << "the host ends when the dialog has closed";
  const std::string settings = dialog_.Settings().value_or("");
  const std::string keys = SettingsFile("2", "12345", "");
  ASSERT_EQ(settings.substr(0, keys.size() - 2), keys.substr(0, keys.size() - 2)) << settings;
  const std::string name = settings.substr(keys.size() - 2);
  if (programs_.windows())  // every folder of the path may be shortened too
    EXPECT_TRUE(std::regex_match(name, std::regex(R"(Z:\\[ -~]*~[ -~]*\.WAV\r\n)"))) << name;
  else
    EXPECT_EQ(name, song + "\r\n");
  PulseServer sound;
  ASSERT_TRUE(sound.running());
  PulseRecorder heard(sound);
  ASSERT_TRUE(heard.running());
  const std::size_t before = heard.Mark();
  dialog_.Start("/s", sound.env());
  EXPECT_TRUE(heard.HeardSince(before, 60s)) << "the tone of the chosen file arrives";
  ASSERT_NE(dialog_.Visible("Orvane_VC", 30s), 0u);
  EXPECT_TRUE(programs_.EscapeUntilGone("Orvane_VC"));
  EXPECT_EQ(dialog_.host().Wait(30s), 0);

  // Folders where the settings file would go: "設定" says so and the dialog stays open.
  const std::string user = getpwuid(geteuid())->pw_name;
  const fs::path own = programs_.windows() ? programs_.Home() + "/drive_c/users/" + user +
                                                 "/AppData/Roaming/Orvane/Orvane.ini"
                                           : folder_ / "config/orvane/Orvane.ini";
  fs::remove(folder_ / "Orvane.ini");
  for (const fs::path& blocked : {fs::path(folder_ / "Orvane.ini"), own})
    fs::create_directories(blocked / "kept");
  ASSERT_TRUE(dialog_.Open()) << dialog_.host().Stderr();
  dialog_.Click("lbl_BGM", 1);  // "音楽CD"
  ASSERT_TRUE(dialog_.Chosen(1));
  unsigned long message = 0;
  ASSERT_TRUE(dialog_.ClickUntil("Cmd_Set", [&] {
    return (message = dialog_.Visible("Orvane \\(ScreenSaver\\)", 0ms)) != 0;
  })) << dialog_.host().Stderr();
  if (programs_.windows()) {  // the system's reason; a static control keeps the line break CR LF
    EXPECT_EQ(programs_.MessageText("Orvane (ScreenSaver)"),
              "設定ﾌｧｲﾙに書き込めません！\r\nC:\\users\\" + user +
                  "\\AppData\\Roaming\\Orvane\\Orvane.ini: Access denied.");
  }
  dialog_.Xdotool("windowfocus --sync " + std::to_string(message) + " key Return");
  ASSERT_TRUE(WaitFor([&] { return dialog_.Visible("Orvane \\(ScreenSaver\\)", 0ms) == 0; }, 10s));
  EXPECT_TRUE(dialog_.host().Running()) << "the dialog stays open";
  EXPECT_TRUE(dialog_.Chosen(1)) << "with 音楽CD chosen";
  for (const fs::path& blocked : {fs::path(folder_ / "Orvane.ini"), own}) {
    EXPECT_TRUE(fs::is_directory(blocked / "kept")) << blocked;
    fs::remove_all(blocked);
  }
  EXPECT_TRUE(dialog_.ClickUntil("Cmd_Can", [&] { return !dialog_.host().Running(); }));
  EXPECT_EQ(dialog_.host().Wait(30s), 0);
  EXPECT_FALSE(dialog_.Settings() || fs::exists(own)) << "ｷｬﾝｾﾙ writes nothing";
}

INSTANTIATE_TEST_SUITE_P(ORVANE_TEST_BUILD, SettingsDialogEndToEnd,
                         ::testing::Values(Build::ORVANE_TEST_BUILD), BuildName);

}  // namespace
}  // namespace orvane
