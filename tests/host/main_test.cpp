#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/Orvane_B.h"
#include "platform/fake/fake_platform.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using testing::WriteBytes;
using Calls = std::vector<std::string>;

const std::string kDirectory = "CreateDirectory C:\\t_ovin";
const std::string kImageMessage = "MessageBox Orvane.image が同じﾌｫﾙﾀﾞに見つかりません！";
const std::string kDllMessage = "MessageBox Orvane.dll が同じﾌｫﾙﾀﾞに見つかりません！";

// Main against the fake platform; the three hand-overs log into the fake's list of calls.
class MainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.hostFolder = folder.path();
    WriteBytes(folder / "Orvane.image", "image");
    WriteBytes(folder / "Orvane.dll", "program");
    handlers.startPreview = [this](WindowHandle window, Platform&) {
      fake.calls.push_back("StartPreview " + std::to_string(window));
    };
    handlers.showSettingsDialog = [this](Platform&) { fake.calls.push_back("ShowSettingsDialog"); };
    handlers.createSaverWindow = [this](Platform&) { fake.calls.push_back("CreateSaverWindow"); };
  }
  // Main's calls after the two single-instance searches.
  Calls Run(const std::string& commandLine) {
    fake.calls.clear();
    BGM_Folder = "untouched";
    Main(commandLine, fake, handlers);
    EXPECT_EQ(Calls(fake.calls.begin(), fake.calls.begin() + 2),
              (Calls{"FindWindow Orvane_Main", "FindWindow <Orvane>"}));
    return Calls(fake.calls.begin() + 2, fake.calls.end());
  }
  testing::TempFolder folder;
  FakePlatform fake;
  ModeHandlers handlers;
};

// Each mode's steps; refused at once while a saver or a dialog is open; a missing companion
// file (a folder does not count) shows the first message and ends, a preview needs neither.
TEST_F(MainTest, EachModeHasItsSteps) {
  const struct {
    const char* line;
    const char* open;     // a window title already there
    const char* missing;  // companion files taken away
    Calls calls;
  } cases[] = {
      {"/s", "", "", {kDirectory, "ShowCursor 0", "CreateSaverWindow"}},
      {"/c:456", "", "", {kDirectory, "ShowSettingsDialog", "EndProcess"}},
      {"//s", "", "", {kDirectory, "EndProcess"}},
      {"/p -1", "", "", {"StartPreview 4294967295"}},  // names no window
      {"/p1 5", "", "", {"StartPreview 5"}},           // the third character is skipped
      {"/p 132", "Orvane_Main", "", {"EndProcess"}},
      {"/c", "<Orvane>", "", {"EndProcess"}},
      {"/a", "Orvane_VC", "", {kDirectory, "EndProcess"}},  // other titles do not refuse
      {"", "", "Orvane.dll", {kDirectory, kDllMessage, "EndProcess"}},
      {"/c", "", "Orvane.image Orvane.dll", {kDirectory, kImageMessage, "EndProcess"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("[") + c.line + "] " + c.open + " " + c.missing);
    fake.windowsByTitle.clear();
    if (*c.open) fake.windowsByTitle[c.open] = 77;
    for (const char* name : {"Orvane.image", "Orvane.dll"}) {
      std::filesystem::remove_all(folder / name);
      if (std::string(c.missing).find(name) == std::string::npos)
        WriteBytes(folder / name, "file");
      else if (std::string(name) == "Orvane.dll")
        std::filesystem::create_directory(folder / name);
    }
    EXPECT_EQ(Run(c.line), c.calls);
    // Settings are loaded after the data directory, never for a preview.
    EXPECT_EQ(BGM_Folder, c.calls[0] == kDirectory ? "" : "untouched");
  }
}

// Main reads the settings where the platform says they come from, and the saver shows the user's
// picture only while it exists.
TEST_F(MainTest, SettingsAndPictureComeFromWhereThePlatformSays) {
  const std::string kindKey = "BGM\x8B\xE6\x95\xAA";
  WriteBytes(folder / "Orvane.ini", "[Section]\r\n" + kindKey + "=0\r\n");
  std::filesystem::create_directory(folder / "user");
  WriteBytes(folder / "user/Orvane.ini", "[Section]\r\n" + kindKey + "=1\r\n");
  fake.settingsPath = folder / "user/Orvane.ini";
  fake.userPicturePath = folder / "user/Orvane.image";
  Run("/a");
  EXPECT_EQ(SettingsPath(), folder / "user/Orvane.ini");
  EXPECT_EQ(BGM_Kind, 1);
  // Beside the host, joined with the system's separator.
  EXPECT_EQ(PicturePath(), (std::filesystem::path(folder.path()) / "Orvane.image").string())
      << "no user's picture yet";
  WriteBytes(folder / "user/Orvane.image", "mine");
  EXPECT_EQ(PicturePath(), folder / "user/Orvane.image");
  fake.settingsSourcePath = folder / "Orvane.ini";
  Run("/a");
  EXPECT_EQ(SettingsPath(), folder / "user/Orvane.ini");
  EXPECT_EQ(BGM_Kind, 0);
}

}  // namespace
}  // namespace orvane
