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

const std::string kFindSaver = "FindWindow Orvane_Main";
const std::string kFindDialog = "FindWindow <Orvane>";
const std::string kDataDirectory = "CreateDirectory C:\\t_ovin";
const std::string kImageMessage = "MessageBox " + std::string(MessageImageMissing);
const std::string kDllMessage = "MessageBox " + std::string(MessageDllMissing);

// Main against the fake platform, with a host folder of the test's own and recorders for the
// three hand-overs, which log into the same list of calls.
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
    BGM_Folder = "untouched";
  }

  Calls Run(const std::string& commandLine) {
    fake.calls.clear();
    Main(commandLine, fake, handlers);
    return fake.calls;
  }

  TempFolder folder;
  FakePlatform fake;
  ModeHandlers handlers;
};

TEST_F(MainTest, SaverModeHidesTheCursorOnce) {
  EXPECT_EQ(Run("/s"),
            (Calls{kFindSaver, kFindDialog, kDataDirectory, "ShowCursor 0", "CreateSaverWindow"}));
  EXPECT_EQ(BGM_Folder, folder.path()) << "the settings were loaded";
  EXPECT_EQ(CommandLine(), "/s");
  EXPECT_EQ(HostFolder(), folder.path());
  EXPECT_FALSE(fake.ended);
  EXPECT_EQ(Run("-S"),
            (Calls{kFindSaver, kFindDialog, kDataDirectory, "ShowCursor 0", "CreateSaverWindow"}));
}

TEST_F(MainTest, EmptyCommandLineStartsTheSaverWithTheCursorShown) {
  EXPECT_EQ(Run(""), (Calls{kFindSaver, kFindDialog, kDataDirectory, "CreateSaverWindow"}));
}

TEST_F(MainTest, PreviewGoesStraightToTheHandOver) {
  const std::pair<const char*, const char*> cases[] = {
      {"/p 132", "StartPreview 132"}, {"/P 132", "StartPreview 132"},
      {"/p:132", "StartPreview 132"}, {"/p132", "StartPreview 32"},
      {"-P 99", "StartPreview 99"},   {"/p", "StartPreview 0"}};
  for (auto [line, handOver] : cases) {
    EXPECT_EQ(Run(line), (Calls{kFindSaver, kFindDialog, handOver})) << line;
  }
  EXPECT_EQ(BGM_Folder, "untouched") << "no settings in preview mode";
  // No data directory and no file checks either: the companion files may be missing.
  std::filesystem::remove(folder / "Orvane.image");
  EXPECT_EQ(Run("/p 5"), (Calls{kFindSaver, kFindDialog, "StartPreview 5"}));
}

TEST_F(MainTest, NegativePreviewHandleNamesNoWindow) {
  const Calls calls = Run("/p -1");
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[2], "StartPreview 4294967295");
}

TEST_F(MainTest, SettingsModeShowsTheDialogAndEnds) {
  for (const char* line : {"/c", "/C", "/c:456"}) {
    EXPECT_EQ(Run(line),
              (Calls{kFindSaver, kFindDialog, kDataDirectory, "ShowSettingsDialog", "EndProcess"}))
        << line;
  }
  EXPECT_EQ(BGM_Folder, folder.path());
}

TEST_F(MainTest, OtherModesEndAfterTheChecks) {
  for (const char* line : {"/a", " ", "/", "x", "/x:1", "//s"}) {
    EXPECT_EQ(Run(line), (Calls{kFindSaver, kFindDialog, kDataDirectory, "EndProcess"})) << line;
  }
}

TEST_F(MainTest, RefusedWhileASaverOrADialogIsOpen) {
  for (const char* title : {"Orvane_Main", "<Orvane>"}) {
    fake.windowsByTitle = {{title, 77}};
    for (const char* line : {"/s", "", "/p 132", "/c", "/a"}) {
      // Both searches are made even when the first one finds a window.
      EXPECT_EQ(Run(line), (Calls{kFindSaver, kFindDialog, "EndProcess"}))
          << title << " with [" << line << "]";
    }
  }
  fake.windowsByTitle = {{"Orvane_VC", 5}, {"Preview Window", 6}};
  EXPECT_EQ(Run("/a"), (Calls{kFindSaver, kFindDialog, kDataDirectory, "EndProcess"}))
      << "other titles do not refuse";
}

TEST_F(MainTest, MissingTextureIsTheOnlyMessageEvenWithoutTheProgram) {
  std::filesystem::remove(folder / "Orvane.image");
  EXPECT_EQ(Run("/s"),
            (Calls{kFindSaver, kFindDialog, kDataDirectory, kImageMessage, "EndProcess"}));
  std::filesystem::remove(folder / "Orvane.dll");
  EXPECT_EQ(Run("/s"),
            (Calls{kFindSaver, kFindDialog, kDataDirectory, kImageMessage, "EndProcess"}));
}

TEST_F(MainTest, MissingProgramHasItsOwnMessage) {
  std::filesystem::remove(folder / "Orvane.dll");
  EXPECT_EQ(Run(""), (Calls{kFindSaver, kFindDialog, kDataDirectory, kDllMessage, "EndProcess"}));
}

TEST_F(MainTest, SettingsModeWithTheTextureMissingNeverOpensTheDialog) {
  std::filesystem::remove(folder / "Orvane.image");
  EXPECT_EQ(Run("/c"),
            (Calls{kFindSaver, kFindDialog, kDataDirectory, kImageMessage, "EndProcess"}));
}

TEST_F(MainTest, AFolderNamedLikeACompanionFileDoesNotCount) {
  std::filesystem::remove(folder / "Orvane.dll");
  std::filesystem::create_directory(folder / "Orvane.dll");
  EXPECT_EQ(Run("/s"), (Calls{kFindSaver, kFindDialog, kDataDirectory, kDllMessage, "EndProcess"}));
}

TEST_F(MainTest, FailedDataDirectoryIsIgnored) {
  fake.createDirectoryResult = false;
  EXPECT_EQ(Run("/s"),
            (Calls{kFindSaver, kFindDialog, kDataDirectory, "ShowCursor 0", "CreateSaverWindow"}));
}

TEST_F(MainTest, AFailingDialogStillEndsTheProcess) {
  handlers.showSettingsDialog = [](Platform&) { throw std::runtime_error("no dialog"); };
  EXPECT_EQ(Run("/c"), (Calls{kFindSaver, kFindDialog, kDataDirectory, "EndProcess"}));
}

// The animation runs from the anchor point out to the window and back.
TEST(Animate, OpensFromTheAnchorAndClosesBackToIt) {
  FakePlatform fake;
  fake.windowRects[9] = Rect{100, 50, 592, 296};
  AnimPointX = 10;
  AnimPointY = -20;
  AnimateOpen(9, fake);
  AnimateClose(9, fake);
  EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects"),
            (Calls{"DrawAnimatedRects 9 10,-20,10,-20 -> 100,50,592,296",
                   "DrawAnimatedRects 9 100,50,592,296 -> 10,-20,10,-20"}));
}

TEST(Animate, UnknownWindowAnimatesToZeros) {
  FakePlatform fake;
  AnimPointX = 0;
  AnimPointY = 0;
  AnimateOpen(4, fake);
  EXPECT_EQ(fake.CallsStartingWith("DrawAnimatedRects"),
            (Calls{"DrawAnimatedRects 4 0,0,0,0 -> 0,0,0,0"}));
}

}  // namespace
}  // namespace orvane
