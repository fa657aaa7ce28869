#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/Orvane_B.h"
#include "platform/fake_platform.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using testing::TempFolder;
using testing::WriteBytes;
using Calls = std::vector<std::string>;

const std::string kSearches[] = {"FindWindow Orvane_Main", "FindWindow <Orvane>"};
const std::string kDirectory = "CreateDirectory C:\\t_ovin";
const std::string kImageMessage = "MessageBox " + std::string(MessageImageMissing);
const std::string kDllMessage = "MessageBox " + std::string(MessageDllMissing);

// Main against the fake platform, with a host folder of the test's own; the three hand-overs
// log into the fake's list of calls.
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
  // Main's calls after the two single-instance searches, which are always made.
  Calls Run(const std::string& commandLine) {
    fake.calls.clear();
    BGM_Folder = "untouched";
    Main(commandLine, fake, handlers);
    EXPECT_GE(fake.calls.size(), 2u);
    EXPECT_EQ(Calls(fake.calls.begin(), fake.calls.begin() + 2), Calls(kSearches, kSearches + 2));
    return Calls(fake.calls.begin() + 2, fake.calls.end());
  }
  TempFolder folder;
  FakePlatform fake;
  ModeHandlers handlers;
};

TEST_F(MainTest, EachModeHasItsSteps) {
  const std::pair<const char*, Calls> cases[] = {
      {"/s", {kDirectory, "ShowCursor 0", "CreateSaverWindow"}},
      {"", {kDirectory, "CreateSaverWindow"}},  // the cursor stays
      {"/c:456", {kDirectory, "ShowSettingsDialog", "EndProcess"}},
      {"/a", {kDirectory, "EndProcess"}},
      {" ", {kDirectory, "EndProcess"}},
      {"//s", {kDirectory, "EndProcess"}},
      {"/p 132", {"StartPreview 132"}},
      {"/p -1", {"StartPreview 4294967295"}}  // names no window
  };
  for (const auto& [line, calls] : cases) {
    EXPECT_EQ(Run(line), calls) << "[" << line << "]";
    // Settings are loaded after the data directory, never for a preview.
    EXPECT_EQ(BGM_Folder, calls[0] == kDirectory ? folder.path() : "untouched") << line;
  }
  EXPECT_EQ(CommandLine(), "/p -1");
  fake.createDirectoryResult = false;
  EXPECT_EQ(Run("/s"), (Calls{kDirectory, "ShowCursor 0", "CreateSaverWindow"})) << "ignored";
}

TEST_F(MainTest, RefusedWhileASaverOrADialogIsOpen) {
  for (const char* title : {"Orvane_Main", "<Orvane>"}) {
    fake.windowsByTitle = {{title, 77}};
    for (const char* line : {"/s", "", "/p 132", "/c"}) {
      EXPECT_EQ(Run(line), Calls{"EndProcess"}) << title << " with [" << line << "]";
    }
  }
  fake.windowsByTitle = {{"Orvane_VC", 5}, {"Preview Window", 6}};
  EXPECT_EQ(Run("/a"), (Calls{kDirectory, "EndProcess"})) << "other titles do not refuse";
}

TEST_F(MainTest, MissingCompanionFilesShowOneMessage) {
  std::filesystem::remove(folder / "Orvane.dll");
  std::filesystem::create_directory(folder / "Orvane.dll");  // a folder does not count
  EXPECT_EQ(Run(""), (Calls{kDirectory, kDllMessage, "EndProcess"}));
  std::filesystem::remove(folder / "Orvane.image");
  for (const char* line : {"/s", "/c"}) {  // only the first message, and no dialog
    EXPECT_EQ(Run(line), (Calls{kDirectory, kImageMessage, "EndProcess"})) << line;
  }
  EXPECT_EQ(Run("/p 5"), Calls{"StartPreview 5"}) << "a preview needs neither file";
}

TEST_F(MainTest, AFailingDialogStillEndsTheProcess) {
  handlers.showSettingsDialog = [](Platform&) { throw std::runtime_error("no dialog"); };
  EXPECT_EQ(Run("/c"), (Calls{kDirectory, "EndProcess"}));
}

TEST(Animate, OpensFromTheAnchorAndClosesBackToIt) {
  FakePlatform fake;
  fake.windowRects[9] = Rect{100, 50, 592, 296};
  AnimPointX = 10;
  AnimPointY = -20;
  AnimateOpen(9, fake);
  AnimateClose(9, fake);
  AnimateOpen(4, fake);  // unknown window
  EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects"),
            (Calls{"DrawAnimatedRects 9 10,-20,10,-20 -> 100,50,592,296",
                   "DrawAnimatedRects 9 100,50,592,296 -> 10,-20,10,-20",
                   "DrawAnimatedRects 4 10,-20,10,-20 -> 0,0,0,0"}));
}

}  // namespace
}  // namespace orvane
