#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/atomic_file.h"
#include "platform/fake_platform.h"
#include "platform/posix_platform.h"
#include "platform/screen_dpi.h"
#include "tests/support/temp_folder.h"
#include "tests/support/child.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

TEST(ScreenDpi, XftDpiFromTheResourceDatabase) {
  EXPECT_EQ(XftDpiFromResources("Xft.dpi:\t96\n"), 96.0);
  EXPECT_EQ(XftDpiFromResources("*background:\tgrey\nXft.dpi:   120\nXft.hinting: 1\n"), 120.0);
  EXPECT_EQ(XftDpiFromResources("Xft.dpi:\t144.5"), 144.5);
  EXPECT_EQ(XftDpiFromResources("Xft.hinting:\t1\n"), std::nullopt);
  EXPECT_EQ(XftDpiFromResources("Xft.dpiX:\t96\n"), std::nullopt);
  EXPECT_EQ(XftDpiFromResources("Xft.dpi:\t-5\n"), std::nullopt);
  EXPECT_EQ(XftDpiFromResources("Xft.dpi:\tnope\n"), std::nullopt);
  EXPECT_EQ(XftDpiFromResources(""), std::nullopt);
}

TEST(ScreenDpi, TwipsPerPixel) {
  EXPECT_EQ(TwipsPerPixelFromDpi(96.0), 15.0f);
  EXPECT_EQ(TwipsPerPixelFromDpi(120.0), 12.0f);
  EXPECT_EQ(TwipsPerPixelFromDpi(144.0), 10.0f);
  // An X server's millimetre size gives 95.98 for 1024 pixels at 96 dpi.
  EXPECT_EQ(TwipsPerPixelFromDpi(DpiFromScreenSize(1024, 271)), 15.0f);
  EXPECT_EQ(TwipsPerPixelFromDpi(DpiFromScreenSize(1280, 271)), 12.0f);
  EXPECT_EQ(TwipsPerPixelFromDpi(DpiFromScreenSize(1024, 0)), 15.0f);
  EXPECT_EQ(TwipsPerPixelFromDpi(std::nullopt), 15.0f);
  EXPECT_EQ(TwipsPerPixelFromDpi(0.2), 15.0f);
}

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("XDG_CACHE_HOME");
    if (old) oldCache_ = old;
    hadCache_ = old != nullptr;
    setenv("XDG_CACHE_HOME", (folder / "cache").c_str(), 1);
  }
  void TearDown() override {
    if (hadCache_) {
      setenv("XDG_CACHE_HOME", oldCache_.c_str(), 1);
    } else {
      unsetenv("XDG_CACHE_HOME");
    }
  }
  mode_t Mode(const std::string& path) {
    struct stat info {};
    lstat(path.c_str(), &info);
    return info.st_mode & 07777;
  }

  TempFolder folder;
  std::unique_ptr<FileSystem> files = MakePosixFileSystem();

 private:
  std::string oldCache_;
  bool hadCache_ = false;
};

TEST_F(FileSystemTest, DataDirectoryIsCreatedPrivate) {
  EXPECT_TRUE(files->CreateDirectory("C:\\t_ovin"));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "cache/t_ovin"));
  EXPECT_EQ(Mode(folder / "cache/t_ovin"), 0700u);
  EXPECT_TRUE(files->CreateDirectory("c:/T_OVIN")) << "an existing folder is no failure";
  WriteBytes(folder / "file", "x");
  EXPECT_FALSE(files->CreateDirectory(folder / "file/sub"));
}

TEST_F(FileSystemTest, TextureCopyGoesToTheDataDirectory) {
  ASSERT_TRUE(files->CreateDirectory("C:\\t_ovin"));
  WriteBytes(folder / "Orvane.image", "picture");
  EXPECT_TRUE(files->CopyFile(folder / "Orvane.image", "C:\\t_ovin\\Orvane.image"));
  EXPECT_EQ(ReadBytes(folder / "cache/t_ovin/Orvane.image"), "picture");
  WriteBytes(folder / "Orvane.image", "newer picture");
  EXPECT_TRUE(files->CopyFile(folder / "Orvane.image", "C:\\t_ovin\\Orvane.image"));
  EXPECT_EQ(ReadBytes(folder / "cache/t_ovin/Orvane.image"), "newer picture");
}

TEST_F(FileSystemTest, CopyReplacesALinkAndNeverFollowsIt) {
  WriteBytes(folder / "source", "new");
  WriteBytes(folder / "victim", "keep me");
  std::filesystem::create_symlink(folder / "victim", folder / "target");
  EXPECT_TRUE(files->CopyFile(folder / "source", folder / "target"));
  EXPECT_FALSE(std::filesystem::is_symlink(folder / "target"));
  EXPECT_EQ(ReadBytes(folder / "target"), "new");
  EXPECT_EQ(ReadBytes(folder / "victim"), "keep me");
}

TEST_F(FileSystemTest, FailedCopyLeavesTheTargetAndNoLeftovers) {
  WriteBytes(folder / "target", "old");
  EXPECT_FALSE(files->CopyFile(folder / "missing", folder / "target"));
  EXPECT_FALSE(files->CopyFile(folder.path(), folder / "target")) << "a folder is no file";
  EXPECT_FALSE(files->CopyFile(folder / "target", folder / "no/such/folder/x"));
  EXPECT_EQ(ReadBytes(folder / "target"), "old");
  WriteBytes(folder / "source", "new");
  EXPECT_FALSE(CopyFileAtomically(folder / "source", folder / "target",
                                  [](const std::string&) { return false; }));
  EXPECT_EQ(ReadBytes(folder / "target"), "old");
  int entries = 0;
  for (auto& entry : std::filesystem::directory_iterator(folder.path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 2) << "source and target only";
}

TEST_F(FileSystemTest, CopyOfALargeFileIsWhole) {
  std::string bytes;
  for (int i = 0; i < 300000; ++i) bytes += static_cast<char>(i * 7);
  WriteBytes(folder / "big", bytes);
  EXPECT_TRUE(files->CopyFile(folder / "big", folder / "copy"));
  EXPECT_EQ(ReadBytes(folder / "copy"), bytes);
  EXPECT_EQ(Mode(folder / "copy"), 0600u);
}

TEST(AtomicFile, NewFileFollowsTheUmask) {
  TempFolder folder;
  const mode_t old = umask(022);
  EXPECT_TRUE(WriteFileAtomically(folder / "a.ini", "x"));
  umask(old);
  struct stat info {};
  stat((folder / "a.ini").c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST(Process, HostFolderIsTheExecutablesFolder) {
  auto process = MakePosixProcess();
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  EXPECT_EQ(process->HostFolder(), std::filesystem::path(self).parent_path().string());
}

TEST(Process, StartsWithoutWaitingAndLeavesNoZombie) {
  TempFolder folder;
  auto process = MakePosixProcess();
  const std::string marker = folder / "started";
  const auto before = std::chrono::steady_clock::now();
  ASSERT_TRUE(process->StartProgram("/bin/sh", {"-c", "sleep 0.3; echo $PPID > " + marker}));
  EXPECT_LT(std::chrono::steady_clock::now() - before, 250ms) << "StartProgram must not wait";
  // The program is no child of ours, so nothing is left to reap: no zombie.
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  EXPECT_TRUE(testing::WaitFor([&] { return !ReadBytes(marker).empty(); }, 5s));
  EXPECT_NE(std::stoi(ReadBytes(marker)), getpid());
}

TEST(Process, MissingProgramIsReported) {
  auto process = MakePosixProcess();
  EXPECT_FALSE(process->StartProgram("/no/such/program", {}));
  EXPECT_FALSE(process->StartProgram("", {}));
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

TEST(Process, EndProcessEndsAtOnceWithCodeZero) {
  const pid_t child = fork();
  if (child == 0) {
    auto process = MakePosixProcess([] { _exit(3); });
    process->EndProcess();
    _exit(9);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(WEXITSTATUS(status), 3) << "the hook runs first";
  const pid_t plain = fork();
  if (plain == 0) {
    MakePosixProcess()->EndProcess();
    _exit(9);
  }
  ASSERT_EQ(waitpid(plain, &status, 0), plain);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

// The fake's timers run in time order, as the main loop would, and a tick may stop itself.
TEST(FakeTimers, TickInTimeOrder) {
  FakePlatform fake;
  std::vector<std::string> ticks;
  Timers& timers = fake.platform().timers;
  Timers::TimerId slow = 0;
  slow =
      timers.StartTimer(500ms, [&] { ticks.push_back("500@" + std::to_string(fake.now.count())); });
  int fastTicks = 0;
  Timers::TimerId fast = 0;
  fast = timers.StartTimer(200ms, [&] {
    ticks.push_back("200@" + std::to_string(fake.now.count()));
    if (++fastTicks == 3) timers.StopTimer(fast);
  });
  fake.Advance(1000ms);
  EXPECT_EQ(ticks,
            (std::vector<std::string>{"200@200", "200@400", "500@500", "200@600", "500@1000"}));
  EXPECT_TRUE(fake.TimerRunning(slow));
  EXPECT_FALSE(fake.TimerRunning(fast));
  EXPECT_EQ(fake.TimerInterval(slow), 500ms);
}

}  // namespace
}  // namespace orvane
