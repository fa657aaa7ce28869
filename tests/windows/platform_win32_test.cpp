// What only the Win32 side of the platform has, under Wine in a prefix of the test's own whose
// drive C: it may change; the rules both systems keep are in
// tests/platform/platform_rules_test.cpp.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>

#include "common/data_directory.h"
#include "platform/win32/win32_platform.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

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

// The data directory is the fixed folder itself; the host's folder is the program's own.
TEST_F(Win32PlatformTest, TheDataDirectoryAndTheHostFolder) {
  EXPECT_EQ(common::MapFixedPath("c:\\t_ovin\\Orvane.image"), "c:\\t_ovin\\Orvane.image");
  RemoveDirectoryA("C:\\t_ovin");
  EXPECT_TRUE(common::CreateDataDirectory());
  EXPECT_NE(GetFileAttributesA("C:\\t_ovin") & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(platform().process.HostFolder(), ORVANE_TEST_FOLDER);
}

}  // namespace
}  // namespace orvane
