// What only the Windows settings dialog has, Orvane.scr /c under Wine: the repeat box's edit
// read whole, the form grown with the screen's density, short names for files named outside
// the code page, and the settings of a user who may not write the programs' folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/mci/media_files.h"
#include "tests/support/another_user.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/xscreensaver.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace orvane::testing;

const std::string kKeys[] = {"[Section]\r\nBGM\x8B\xE6\x95\xAA=", "\r\nBGM\xD8\xCB\xDF\xB0\xC4=",
                             "\r\nBGM\xCC\xA7\xB2\xD9="};

class DialogWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb_.running());
    ASSERT_TRUE(programs_.ready());
  }
  // Runs a command of Wine's in the driver's prefix.
  int Wine(const std::string& command) {
    const fs::path prefix = fs::path(programs_.DataDirectory()).parent_path().parent_path();
    return RunShell("env DISPLAY=" + xvfb_.display() + " WINEPREFIX=" + prefix.string() +
                    " WINEDEBUG=-all " + command + " >/dev/null 2>&1")
        .first;
  }

  Xvfb xvfb_;
  Programs programs_{Build::Windows, xvfb_};
  TempFolder folder_;
  DialogDriver dialog_{programs_, xvfb_, folder_.path()};
};

// The repeat box reads the whole text typed, however narrow it is: "12345" is kept, "40000"
// does not fit 16 bits and saves 0, "7.5" rounds to 8.
TEST_F(DialogWineTest, TheRepeatBoxReadsTheWholeTextTyped) {
  for (const auto& [typed, saved] :
       {std::pair{"12345", "12345"}, std::pair{"40000", "0"}, std::pair{"7.5", "8"}}) {
    SCOPED_TRACE(typed);
    fs::remove(folder_ / "Orvane.ini");
    ASSERT_TRUE(dialog_.Open());
    dialog_.Click("lbl_BGM", 1);  // "音楽CD"
    ASSERT_TRUE(dialog_.Chosen(1));
    const DialogRect box = InForm("BGM_Repeat");
    dialog_.MoveOver({box.X + 8, box.Y + box.Height / 2});  // its edit, left of the arrow
    dialog_.Xdotool("click 1 type --delay 50 '" + std::string(typed) + "'");
    EXPECT_TRUE(dialog_.ClickUntil("Cmd_Set", [&] { return !dialog_.host().Running(); }));
    EXPECT_EQ(dialog_.host().Wait(20s), 0);
    EXPECT_EQ(dialog_.Settings(), kKeys[0] + "1" + kKeys[1] + saved + kKeys[2] + "\r\n");
  }
}

// The pixels of a rectangle of the 96 dpi form (shot96) that differ from the same place of the
// form drawn f times as large (shot), each taken at its centre.
int UnlikeScaled(const Screenshot& shot96, const Screenshot& shot, double f, DialogRect at96) {
  int differing = 0;
  for (int y = at96.Y; y < at96.Y + at96.Height; ++y) {
    for (int x = at96.X; x < at96.X + at96.Width; ++x) {
      const Rgb scaled = shot.at(static_cast<int>((x + 0.5) * f), static_cast<int>((y + 0.5) * f));
      if (!Near(scaled, shot96.at(x, y), 2)) ++differing;
    }
  }
  return differing;
}

// At 120 and 144 dpi the whole form grows by the same factor: the panel's background tile (no
// seam where a second 556-pixel column would start) and the choice marks beside their labels.
TEST_F(DialogWineTest, ThePanelsTileAndMarksGrowWithTheScreensDensity) {
  const auto shotAt = [&](int dpi) {
    EXPECT_EQ(Wine("wine reg add 'HKCU\\Control Panel\\Desktop' /v LogPixels /t REG_DWORD /d " +
                   std::to_string(dpi) + " /f"),
              0);
    EXPECT_TRUE(dialog_.Open());
    const Screenshot shot = dialog_.Shot();
    dialog_.PressCloseBox();
    EXPECT_EQ(dialog_.host().Wait(20s), 0);
    return shot;
  };
  const Screenshot shot96 = shotAt(96);
  ASSERT_EQ(std::pair(shot96.width, shot96.height), std::pair(492, 246));
  // The panel starts at (12, 16); its right part holds nothing but the tile, and the three
  // marks are 12 x 12 at (28, 56), (28, 76) and (28, 96) in it.
  for (const auto& [dpi, size] :
       {std::pair{120, std::pair(615, 308)}, std::pair{144, std::pair(738, 369)}}) {
    SCOPED_TRACE(dpi);
    const Screenshot shot = shotAt(dpi);
    ASSERT_EQ(std::pair(shot.width, shot.height), size);
    EXPECT_EQ(UnlikeScaled(shot96, shot, dpi / 96.0, {12 + 300, 16 + 2, 150, 48}), 0) << "tile";
    for (int top : {56, 76, 96}) {
      EXPECT_EQ(UnlikeScaled(shot96, shot, dpi / 96.0, {12 + 28, 16 + top, 12, 12}), 0)
          << "the mark at " << top;
    }
  }
}

// A WAV named outside the ANSI code page (1252 here), picked in the real file dialog: the
// settings keep its short name, plain ASCII with a "~", rather than a best-fit look-alike.
TEST_F(DialogWineTest, AFileNamedOutsideTheCodePageIsKeptByItsShortName) {
  fs::create_directories(folder_ / "music");
  WriteWav(folder_ / "music/ゲーム.wav", 1.0, 880);
  ASSERT_TRUE(dialog_.Open());
  dialog_.Click("lbl_BGM", 2);  // "MP3、WAV"
  ASSERT_TRUE(dialog_.Chosen(2));
  // A character xdotool lost on a busy machine names a file that is not there, which is refused
  // aloud as well: the message is answered and the file chosen again.
  bool set = false;
  for (int attempt = 0; attempt < 3 && !set; ++attempt) {
    ASSERT_TRUE(dialog_.ClickUntil("Cmd_File", [&] { return dialog_.Visible("ﾌｧｲﾙを開く", 0ms); }));
    ASSERT_TRUE(dialog_.ChooseFile(folder_ / "music/ゲーム.wav"));
    unsigned long box = 0;
    ASSERT_TRUE(dialog_.ClickUntil("Cmd_Set", [&] {
      return !dialog_.host().Running() || (box = dialog_.Visible("Orvane \\(ScreenSaver\\)", 0ms));
    }));
    set = box == 0;
    if (!set) dialog_.Xdotool("windowfocus --sync " + std::to_string(box) + " key Return");
  }
  EXPECT_TRUE(set) << "refused: no short name";
  EXPECT_EQ(dialog_.host().Wait(20s), 0);
  const std::string prefix = kKeys[0] + "2" + kKeys[1] + "0" + kKeys[2];
  const std::string settings = dialog_.Settings().value_or("");
  ASSERT_EQ(settings.substr(0, prefix.size()), prefix) << settings;
  // Every folder of the path may be shortened too.
  const std::string name = settings.substr(prefix.size());
  EXPECT_EQ(name.substr(0, 3), "Z:\\") << name;
  EXPECT_NE(name.find('~'), std::string::npos) << name;
  EXPECT_EQ(name.substr(name.size() - 6), ".WAV\r\n") << name;
  for (const char c : name) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << name;
}

// As a user who cannot write C:\Orvane, where an administrator installed it: the settings there
// show until the user's own exist, nothing is made in %APPDATA% before "設定", which writes
// %APPDATA%\Orvane\Orvane.ini; with that file read-only, "設定" says so, naming the file and the
// system's reason. Wine runs as nobody, for whom read-only files hold (root passes them).
TEST(DialogWineAsUserTest, SettingsBesideTheProgramsCarryOverAndAFailedSaveIsTold) {
  Xvfb xvfb;
  TempFolder prefix, home;
  ASSERT_TRUE(xvfb.running() && GiveToAnotherUser(prefix.path()) && GiveToAnotherUser(home.path()));
  const std::vector<std::string> env{"DISPLAY=" + xvfb.display(),
                                     "WINEPREFIX=" + prefix.path(),
                                     "WINEDEBUG=-all",
                                     "HOME=" + home.path(),
                                     "LANG=C.UTF-8",
                                     "LC_ALL=C.UTF-8"};
  const auto run = [&](std::vector<std::string> argv) {
    return std::make_unique<Child>(AsNobody(env, std::move(argv)));
  };
  ASSERT_EQ(run({"wineboot", "-i"})->Wait(120s), 0);
  const fs::path programs = prefix / "drive_c/Orvane";
  fs::create_directories(programs);
  for (const char* name : {"Orvane.scr", "Orvane.dll", "Orvane.image"})
    fs::copy_file(std::string(ORVANE_WINDOWS_BIN_DIR) + "/" + name, programs / name);
  const std::string beside = kKeys[0] + "1" + kKeys[1] + "7\r\n";
  const std::string carried = kKeys[0] + "1" + kKeys[1] + "7" + kKeys[2] + "\r\n";
  WriteBytes(programs / "Orvane.ini", beside);
  OpenToAll(programs);
  // Clicks a point of the form, given its window.
  const auto click = [&](unsigned long window, DialogPoint at) {
    RunShell("DISPLAY=" + xvfb.display() + " xdotool mousemove --sync --window " +
             std::to_string(window) + " " + std::to_string(at.X - 2) + " " + std::to_string(at.Y) +
             " mousemove --sync --window " + std::to_string(window) + " " + std::to_string(at.X) +
             " " + std::to_string(at.Y) + " click 1");
  };
  const fs::path own = prefix / "drive_c/users/nobody/AppData/Roaming/Orvane/Orvane.ini";
  for (const char* press : {"Cmd_Can", "Cmd_Set", "Cmd_Set"}) {
    SCOPED_TRACE(press);
    const bool readOnly = fs::exists(own);
    if (readOnly) fs::permissions(own, fs::perms(0444));
    auto host = run({"wine", "cmd", "/c", "set DISPLAY=&& C:\\Orvane\\Orvane.scr /c"});
    const unsigned long dialog = VisibleWindow(xvfb.display(), "<Orvane>", 60s);
    ASSERT_NE(dialog, 0u) << host->Stderr();
    EXPECT_TRUE(ShowsChosen(xvfb.display(), dialog, 1))
        << "音楽CD, from the settings beside the programs";
    if (readOnly) click(dialog, CentreInForm("lbl_BGM", 0));  // "なし"
    click(dialog, CentreInForm(press));
    if (!readOnly) {
      EXPECT_EQ(host->Wait(30s), 0);
      EXPECT_EQ(fs::exists(own), std::string(press) == "Cmd_Set") << "made by 設定 alone";
      continue;
    }
    ASSERT_NE(VisibleWindow(xvfb.display(), "Orvane \\(ScreenSaver\\)", 30s), 0u) << host->Stderr();
    // The box shows the line break as Windows keeps it in a static control: CR LF.
    auto reader = run({"wine", std::string(ORVANE_WINDOWS_TEST_PROGRAMS) + "/message_box_text.exe",
                       "Orvane (ScreenSaver)"});
    EXPECT_EQ(reader->Wait(30s), 0);
    EXPECT_EQ(reader->Stdout(),
              "設定ﾌｧｲﾙに書き込めません！\r\nC:\\users\\nobody\\AppData\\Roaming\\Orvane\\Orvane."
              "ini: Access denied.");
    RunShell("DISPLAY=" + xvfb.display() + " xdotool key Return");
    ASSERT_TRUE(WaitFor(
        [&] { return VisibleWindow(xvfb.display(), "Orvane \\(ScreenSaver\\)", 0ms) == 0; }, 10s));
    EXPECT_TRUE(ShowsChosen(xvfb.display(), dialog, 0)) << "the dialog stays open with なし chosen";
    click(dialog, CentreInForm("Cmd_Can"));
    EXPECT_EQ(host->Wait(30s), 0);
  }
  EXPECT_EQ(ReadBytes(own), carried);
  EXPECT_EQ(ReadBytes(programs / "Orvane.ini"), beside);
  EXPECT_EQ(std::distance(fs::directory_iterator(programs), {}), 4) << "no probe left beside";
  RunShell("env WINEPREFIX=" + prefix.path() + " setpriv --reuid=nobody --regid=nogroup " +
           "--clear-groups wineserver -k");
}

}  // namespace
}  // namespace orvane
