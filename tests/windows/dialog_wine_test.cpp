// What only the Windows settings dialog has, Orvane.scr /c under Wine: the form grown with the
// screen's density, and the settings of a user who may not write the programs' folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/child.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/nobody.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace orvane::testing;

// At 144 dpi the whole form grows half again: the panel's background tile (no seam where a
// second 556-pixel column would start) and the choice marks beside their labels.
TEST(DialogWineTest, ThePanelsTileAndMarksGrowWithTheScreensDensity) {
  Xvfb xvfb;
  Programs programs{Build::Windows, xvfb};
  TempFolder folder;
  DialogDriver dialog{programs, xvfb, folder.path()};
  ASSERT_TRUE(xvfb.running() && programs.ready());
  const auto shotAt = [&](int dpi) {
    const std::string key = "'HKCU\\Control Panel\\Desktop' /v LogPixels /t REG_DWORD /d ";
    EXPECT_EQ(programs.Run("wine reg add " + key + std::to_string(dpi) + " /f").first, 0);
    EXPECT_TRUE(dialog.Open());
    const Screenshot shot = dialog.Shot();
    dialog.PressCloseBox();
    EXPECT_EQ(dialog.host().Wait(20s), 0);
    return shot;
  };
  const Screenshot shot96 = shotAt(96), shot = shotAt(144);
  ASSERT_EQ(std::pair(shot.width, shot.height), std::pair(738, 369));
  // The pixels of a rectangle at 96 dpi unlike the same place at 144, each taken at its centre.
  const auto unlikeScaled = [&](Rect at96) {
    int differing = 0;
    for (int y = at96.Y; y < at96.Y + at96.Height; ++y)
      for (int x = at96.X; x < at96.X + at96.Width; ++x)
        differing += !Near(shot.at(int((x + 0.5) * 1.5), int((y + 0.5) * 1.5)), shot96.at(x, y), 2);
    return differing;
  };
  // The panel starts at (12, 16); its right part holds nothing but the tile, and the three
  // marks are 12 x 12 at (28, 56), (28, 76) and (28, 96) in it.
  EXPECT_EQ(unlikeScaled({12 + 300, 16 + 2, 150, 48}), 0) << "tile";
  for (int top : {56, 76, 96}) EXPECT_EQ(unlikeScaled({12 + 28, 16 + top, 12, 12}), 0) << top;
}

// As a user who cannot write C:\Orvane, where an administrator installed it, the settings there
// carry over: "設定" writes them to %APPDATA%\Orvane\Orvane.ini and leaves them where they are.
TEST(DialogWineAsUserTest, SettingsBesideTheProgramsCarryOver) {
  Xvfb xvfb;
  TempFolder prefix, home;
  ASSERT_TRUE(xvfb.running() && GiveToAnotherUser(prefix.path()) && GiveToAnotherUser(home.path()));
  std::vector<std::string> env{"WINEPREFIX=" + prefix.path(), "HOME=" + home.path()};
  env.insert(env.end(), {"DISPLAY=" + xvfb.display(), "WINEDEBUG=-all", "LANG=C.UTF-8"});
  ASSERT_EQ(Child(AsNobody(env, {"wineboot", "-i"})).Wait(120s), 0);
  const fs::path programs = prefix / "drive_c/Orvane";
  fs::create_directories(programs);
  for (const char* name : {"Orvane.scr", "Orvane.dll", "Orvane.image"})
    fs::copy_file(std::string(ORVANE_WINDOWS_BIN_DIR) + "/" + name, programs / name);
  WriteBytes(programs / "Orvane.ini", SettingsFile("1", "7", ""));
  OpenToAll(programs);
  Child host(AsNobody(env, {"wine", "cmd", "/c", "set DISPLAY=&& C:\\Orvane\\Orvane.scr /c"}));
  const unsigned long dialog = VisibleWindow(xvfb.display(), "<Orvane>", 60s);
  ASSERT_NE(dialog, 0u) << host.Stderr();
  for (int attempt = 0; attempt < 4 && host.Running(); ++attempt) {  // until the dialog takes it
    MoveOver(xvfb.display(), dialog, CentreInForm("Cmd_Set"));
    RunShell("DISPLAY=" + xvfb.display() + " xdotool click 1");
    host.Wait(8s);
  }
  EXPECT_EQ(host.Wait(30s), 0);
  EXPECT_EQ(ReadBytes(prefix / "drive_c/users/nobody/AppData/Roaming/Orvane/Orvane.ini"),
            SettingsFile("1", "7", ""))
      << "音楽CD and track 7, as the programs' settings say";
  EXPECT_EQ(ReadBytes(programs / "Orvane.ini"), SettingsFile("1", "7", "")) << "left alone";
  EXPECT_EQ(std::distance(fs::directory_iterator(programs), {}), 4) << "no probe left beside";
  RunShell("env WINEPREFIX=" + prefix.path() + " setpriv --reuid=nobody --regid=nogroup " +
           "--clear-groups wineserver -k");
}

}  // namespace
}  // namespace orvane
