// The Win32 side of the platform under Wine, in a prefix of the test's own whose drive C: it may
// change: hidden windows found by title, window timers on the message loop, the files and
// programs of the host, and where the settings live.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>

#include "common/data_directory.h"
#include "platform/win32/win32_platform.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using orvane::testing::ReadBytes;
using orvane::testing::TempFolder;
using orvane::testing::WriteBytes;

// Runs the thread's messages until the condition holds or the time is up.
template <typename Condition>
bool Pump(std::chrono::milliseconds timeout, Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(5);
  }
  return true;
}

std::string WindowsName(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

class Win32PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(real_, nullptr); }
  std::unique_ptr<Win32Platform> real_ = Win32Platform::Open();
  Platform& platform() { return real_->platform(); }
};

TEST_F(Win32PlatformTest, HiddenWindowsAreFoundByTitleAndHearOneSystemClose) {
  auto hidden = MakeWin32HiddenWindows();
  int closes = 0;
  const WindowHandle window = hidden->CreateHiddenWindow("Orvane_Main", [&] { ++closes; });
  ASSERT_NE(window, 0u);
  EXPECT_EQ(platform().windowFinder.FindWindow("ORVANE_main"), window) << "FindWindowA's case";
  EXPECT_EQ(platform().windowFinder.FindWindow("Orvane_Main "), 0u);
  EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(ToHwnd(window))));
  for (int close = 0; close < 2; ++close)
    PostMessageA(static_cast<HWND>(ToHwnd(window)), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Pump(5s, [&] { return closes == 1; }));
  Pump(200ms, [] { return false; });
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(platform().windowFinder.FindWindow("Orvane_Main"), window) << "a close is no destroy";
  hidden->DestroyHiddenWindow(window);
  EXPECT_EQ(platform().windowFinder.FindWindow("Orvane_Main"), 0u);
}

// A timer may stop itself from its own tick; a stopped one never ticks again.
TEST_F(Win32PlatformTest, TimersTickOnTheMessageLoopAndMayStopThemselves) {
  Timers& timers = platform().timers;
  int first = 0, second = 0;
  Timers::TimerId firstId = 0;
  firstId = timers.StartTimer(20ms, [&] {
    if (++first == 3) timers.StopTimer(firstId);
  });
  const Timers::TimerId secondId = timers.StartTimer(20ms, [&] { ++second; });
  EXPECT_TRUE(Pump(5s, [&] { return second >= 8; }));
  EXPECT_EQ(first, 3);
  for (Timers::TimerId id : {secondId, secondId, Timers::TimerId{12345}}) timers.StopTimer(id);
  const int stoppedAt = second;
  Pump(200ms, [] { return false; });
  EXPECT_EQ(second, stoppedAt);
}

// The data directory is the fixed folder itself; copies replace the target whole, byte for byte.
TEST_F(Win32PlatformTest, FoldersCopiesHostFolderAndStartedPrograms) {
  EXPECT_EQ(common::MapFixedPath("c:\\t_ovin\\Orvane.image"), "c:\\t_ovin\\Orvane.image");
  RemoveDirectoryA("C:\\t_ovin");
  EXPECT_TRUE(common::CreateDataDirectory());
  EXPECT_NE(GetFileAttributesA("C:\\t_ovin") & FILE_ATTRIBUTE_DIRECTORY, 0u);
  TempFolder folder;
  FileSystem& files = platform().fileSystem;
  const std::string made = WindowsName(folder / "t_ovin");
  EXPECT_TRUE(files.CreateDirectory(made));
  EXPECT_TRUE(files.CreateDirectory(made)) << "an existing folder is no failure";
  EXPECT_FALSE(files.CreateDirectory(WindowsName(folder / "no/such")));
  const std::string picture(70000, '\x1a');  // longer than one read, and Ctrl-Z throughout
  WriteBytes(folder / "Orvane.image", picture + "\r\n");
  WriteBytes(folder / "t_ovin/Orvane.image", "old");
  EXPECT_TRUE(files.CopyFile(WindowsName(folder / "Orvane.image"), made + "\\Orvane.image"));
  EXPECT_EQ(ReadBytes(folder / "t_ovin/Orvane.image"), picture + "\r\n");
  EXPECT_FALSE(files.CopyFile(WindowsName(folder / "gone.image"), made + "\\Orvane.image"));
  EXPECT_EQ(platform().process.HostFolder(), ORVANE_TEST_FOLDER);
  const std::string mark = WindowsName(folder / "started");
  EXPECT_TRUE(platform().process.StartProgram("C:\\windows\\system32\\cmd.exe",
                                              {"/c", "echo started>" + mark}));
  EXPECT_TRUE(Pump(30s, [&] { return ReadBytes(folder / "started") == "started\r\n"; }));
  EXPECT_FALSE(platform().process.StartProgram(WindowsName(folder / "missing.exe"), {}));
}

// The settings stay beside the host while the user may write them there, else go to
// %APPDATA%\Orvane, a folder the first save makes; until that file exists, the host's is read.
TEST_F(Win32PlatformTest, SettingsLiveBesideTheHostUnlessTheUserCannotWriteThere) {
  TempFolder folder;
  TempFolder appData;
  ASSERT_TRUE(SetEnvironmentVariableA("APPDATA", WindowsName(appData.path()).c_str()));
  UserFiles& files = platform().userFiles;
  const std::string host = WindowsName(folder.path());
  EXPECT_EQ(files.SettingsPath(host), host + "\\Orvane.ini") << "no file yet, folder writable";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 0)
      << "the check leaves nothing behind";
  WriteBytes(folder / "Orvane.ini", "[Section]\r\n");
  const std::string own = WindowsName(appData.path()) + "\\Orvane\\Orvane.ini";
  ASSERT_TRUE(SetFileAttributesA((host + "\\Orvane.ini").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(files.SettingsPath(host), own) << "a read-only settings file";
  EXPECT_FALSE(std::filesystem::exists(appData / "Orvane")) << "made only by a save";
  EXPECT_EQ(files.SettingsSourcePath(host), host + "\\Orvane.ini");
  std::filesystem::create_directory(appData / "Orvane");
  WriteBytes(appData / "Orvane/Orvane.ini", "");
  EXPECT_EQ(files.SettingsSourcePath(host), own);
  SetFileAttributesA((host + "\\Orvane.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace orvane
