// What only the Windows settings dialog has, Orvane.scr /c under Wine: the form grown with the
// screen's density, short names for files named outside the code page, and the settings of a
// user who may not write the programs' folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/mci/media_files.h"
#include "tests/support/another_user.h"
#include "tests/support/child.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/xscreensaver.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace orvane::testing;

// The three keys in code page 932 bytes, in their order; the file's key left out when file is.
std::string Keys(const char* kind, const char* track, std::optional<std::string> file) {
  return std::string("[Section]\r\nBGM\x8B\xE6\x95\xAA=") + kind +
         "\r\nBGM\xD8\xCB\xDF\xB0\xC4=" + track + (file ? "\r\nBGM\xCC\xA7\xB2\xD9=" + *file : "") +
         "\r\n";
}

class DialogWineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(xvfb_.running() && programs_.ready()); }

  Xvfb xvfb_;
  Programs programs_{Build::Windows, xvfb_};
  TempFolder folder_;
  DialogDriver dialog_{programs_, xvfb_, folder_.path()};
};

// The pixels of a rectangle of the 96 dpi form that differ from the same place of the form
// drawn f times as large, each taken at its centre.
int UnlikeScaled(const Screenshot& shot96, const Screenshot& shot, double f, DialogRect at96) {
  int differing = 0;
  for (int y = at96.Y; y < at96.Y + at96.Height; ++y) {
    for (int x = at96.X; x < at96.X + at96.Width; ++x)
      differing += !Near(shot.at(int((x + 0.5) * f), int((y + 0.5) * f)), shot96.at(x, y), 2);
  }
  return differing;
}

// At 120 and 144 dpi the whole form grows by the same factor: the panel's background tile (no
// seam where a second 556-pixel column would start) and the choice marks beside their labels.
TEST_F(DialogWineTest, ThePanelsTileAndMarksGrowWithTheScreensDensity) {
  const auto shotAt = [&](int dpi) {
    const std::string key = "'HKCU\\Control Panel\\Desktop' /v LogPixels /t REG_DWORD /d ";
    EXPECT_EQ(programs_.Run("wine reg add " + key + std::to_string(dpi) + " /f").first, 0);
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
    for (int top : {56, 76, 96})
      EXPECT_EQ(UnlikeScaled(shot96, shot, dpi / 96.0, {12 + 28, 16 + top, 12, 12}), 0) << top;
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
  unsigned long box = 1;
  for (int attempt = 0; attempt < 3 && box != 0; ++attempt) {
    ASSERT_TRUE(dialog_.ClickUntil("Cmd_File", [&] { return dialog_.Visible("ﾌｧｲﾙを開く", 0ms); }));
    ASSERT_TRUE(dialog_.ChooseFile(folder_ / "music/ゲーム.wav"));
    ASSERT_TRUE(dialog_.ClickUntil("Cmd_Set", [&] {
      return !dialog_.host().Running() || (box = dialog_.Visible("Orvane \\(ScreenSaver\\)", 0ms));
    }));
    if (box != 0) dialog_.Xdotool("windowfocus --sync " + std::to_string(box) + " key Return");
  }
  EXPECT_EQ(box, 0u) << "refused: no short name";
  EXPECT_EQ(dialog_.host().Wait(20s), 0);
  std::string prefix = Keys("2", "0", "");
  prefix.resize(prefix.size() - 2);
  const std::string settings = dialog_.Settings().value_or("");
  ASSERT_EQ(settings.substr(0, prefix.size()), prefix) << settings;
  // Every folder of the path may be shortened too.
  const std::string name = settings.substr(prefix.size());
  EXPECT_EQ(std::pair(name.substr(0, 3), name.substr(name.size() - 6)),
            std::pair("Z:\\", ".WAV\r\n"));
  EXPECT_NE(name.find('~'), std::string::npos) << name;
  for (const char c : name) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << name;
}

// As a user who cannot write C:\Orvane, where an administrator installed it: the settings there
// show until the user's own exist, and "設定" writes %APPDATA%\Orvane\Orvane.ini, leaving them.
TEST(DialogWineAsUserTest, SettingsBesideTheProgramsCarryOver) {
  Xvfb xvfb;
  TempFolder prefix, home;
  ASSERT_TRUE(xvfb.running() && GiveToAnotherUser(prefix.path()) && GiveToAnotherUser(home.path()));
  const std::vector<std::string> env{"DISPLAY=" + xvfb.display(),
                                     "WINEPREFIX=" + prefix.path(),
                                     "WINEDEBUG=-all",
                                     "HOME=" + home.path(),
                                     "LANG=C.UTF-8",
                                     "LC_ALL=C.UTF-8"};
  ASSERT_EQ(Child(AsNobody(env, {"wineboot", "-i"})).Wait(120s), 0);
  const fs::path programs = prefix / "drive_c/Orvane";
  fs::create_directories(programs);
  for (const char* name : {"Orvane.scr", "Orvane.dll", "Orvane.image"})
    fs::copy_file(std::string(ORVANE_WINDOWS_BIN_DIR) + "/" + name, programs / name);
  WriteBytes(programs / "Orvane.ini", Keys("1", "7", std::nullopt));
  OpenToAll(programs);
  Child host(AsNobody(env, {"wine", "cmd", "/c", "set DISPLAY=&& C:\\Orvane\\Orvane.scr /c"}));
  const unsigned long dialog = VisibleWindow(xvfb.display(), "<Orvane>", 60s);
  ASSERT_NE(dialog, 0u) << host.Stderr();
  EXPECT_TRUE(ShowsChosen(xvfb.display(), dialog, 1)) << "音楽CD, as the programs' settings say";
  MoveOver(xvfb.display(), dialog, CentreInForm("Cmd_Set"));
  RunShell("DISPLAY=" + xvfb.display() + " xdotool click 1");
  EXPECT_EQ(host.Wait(30s), 0);
  EXPECT_EQ(ReadBytes(prefix / "drive_c/users/nobody/AppData/Roaming/Orvane/Orvane.ini"),
            Keys("1", "7", ""));
  EXPECT_EQ(ReadBytes(programs / "Orvane.ini"), Keys("1", "7", std::nullopt));
  EXPECT_EQ(std::distance(fs::directory_iterator(programs), {}), 4) << "no probe left beside";
  RunShell("env WINEPREFIX=" + prefix.path() + " setpriv --reuid=nobody --regid=nogroup " +
           "--clear-groups wineserver -k");
}

}  // namespace
}  // namespace orvane
