// The platform's rules that both systems keep, against each one's real parts (the Windows build
// under Wine), then what only the Win32 side has.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>

#include "tests/support/temp_folder.h"
#ifdef _WIN32
#include <windows.h>

#include "platform/win32/win32_platform.h"
#else
#include <glib.h>
#include <stdlib.h>

#include "platform/linux/posix_platform.h"
#include "platform/linux/x11_platform.h"
#endif

namespace orvane {
namespace {

using namespace std::chrono_literals;
using testing::TempFolder, testing::WriteBytes;

#ifdef _WIN32
struct System {
  std::unique_ptr<Win32Platform> real = Win32Platform::Open();
  Timers* timers = &real->platform().timers;
  UserFiles* userFiles = &real->platform().userFiles;
  static void RunLoopOnce() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(5);
  }
  static std::string Name(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
  }
  static void SetUserFolder(const std::string& path) {
    SetEnvironmentVariableA("APPDATA", path.c_str());
  }
  static constexpr char kUserSettings[] = "/Orvane/Orvane.ini";
};
#else
struct System {
  std::unique_ptr<Timers> timers = MakeGLibTimers();
  std::unique_ptr<UserFiles> userFiles = MakePosixUserFiles();
  static void RunLoopOnce() { g_main_context_iteration(nullptr, FALSE), g_usleep(5000); }
  static std::string Name(std::string path) { return path; }
  static void SetUserFolder(const std::string& path) { setenv("XDG_CONFIG_HOME", path.c_str(), 1); }
  static constexpr char kUserSettings[] = "/orvane/Orvane.ini";
};
#endif

template <typename Condition>
bool Pump(std::chrono::milliseconds timeout, Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    System::RunLoopOnce();
  }
  return true;
}

TEST(PlatformRules, TimersTickOnTheLoopMayStopThemselvesAndStayStopped) {
  System system;
  int first = 0, second = 0;
  Timers::TimerId firstId = 0;
  firstId = system.timers->StartTimer(20ms, [&] {
    if (++first == 3) system.timers->StopTimer(firstId);
  });
  const Timers::TimerId secondId = system.timers->StartTimer(20ms, [&] { ++second; });
  EXPECT_TRUE(Pump(10s, [&] { return second >= 8; }));
  EXPECT_EQ(first, 3);
  for (Timers::TimerId id : {secondId, secondId, Timers::TimerId{12345}})
    system.timers->StopTimer(id);
  const int stoppedAt = second;
  Pump(200ms, [] { return false; });
  EXPECT_EQ(second, stoppedAt);
}

// Beside the host while the user may write there; else in the user's own folder, which only a
// save makes; until that file exists, the host's is read.
TEST(PlatformRules, SettingsLiveBesideTheHostUnlessTheUserCannotWriteThere) {
  System system;
  TempFolder folder, user;
  System::SetUserFolder(System::Name(user.path()));
  const std::string host = System::Name(folder.path());
  const std::string beside = System::Name(folder / "Orvane.ini");
  const std::string own = System::Name(user.path() + System::kUserSettings);
  EXPECT_EQ(system.userFiles->SettingsPath(host), beside) << "no file yet, folder writable";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 0)
      << "the check leaves nothing behind";
  WriteBytes(folder / "Orvane.ini", "[Section]\r\n");
  EXPECT_EQ(system.userFiles->SettingsPath(host), beside);
  // Read-only (on Linux to everyone: even root, who may write anything, keeps out of it).
  std::filesystem::permissions(folder / "Orvane.ini", std::filesystem::perms(0444));
  EXPECT_EQ(system.userFiles->SettingsPath(host), own) << "a read-only settings file";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(user.path()), {}), 0);
  EXPECT_EQ(system.userFiles->SettingsSourcePath(host), beside);
  std::filesystem::create_directories(
      std::filesystem::path(user.path() + System::kUserSettings).parent_path());
  WriteBytes(user.path() + System::kUserSettings, "");
  EXPECT_EQ(system.userFiles->SettingsSourcePath(host), own);
  EXPECT_EQ(system.userFiles->SettingsPath(System::Name(folder / "no such folder")), own);
  std::filesystem::permissions(folder / "Orvane.ini", std::filesystem::perms(0644));
}

#ifdef _WIN32
// Hidden windows are found by their exact title and hear one close, which does not destroy them.
TEST(PlatformRules, Win32HiddenWindowsHearOneClose) {
  System system;
  WindowFinder& finder = system.real->platform().windowFinder;
  auto hidden = MakeWin32HiddenWindows();
  int closes = 0;
  const WindowHandle window = hidden->CreateHiddenWindow("Orvane_Main", [&] { ++closes; });
  ASSERT_NE(window, 0u);
  EXPECT_EQ(finder.FindWindow("Orvane_Main "), 0u);
  EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(ToHwnd(window))));
  for (int close = 0; close < 2; ++close)
    PostMessageA(static_cast<HWND>(ToHwnd(window)), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Pump(5s, [&] { return closes == 1; }));
  Pump(200ms, [] { return false; });
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(finder.FindWindow("Orvane_Main"), window) << "a close is no destroy";
  hidden->DestroyHiddenWindow(window);
  EXPECT_EQ(finder.FindWindow("Orvane_Main"), 0u);
}
#endif

}  // namespace
}  // namespace orvane
