#include <glib.h>
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
#include "platform/linux/posix_platform.h"
#include "platform/linux/x11_platform.h"
#include "platform/owned_program.h"
#include "platform/screen_dpi.h"
#include "tests/support/child.h"
#include "tests/support/temp_folder.h"

// Flushes to disk are counted rather than made: the test program's own definitions come
// before the C library's.
static int flushes = 0;
extern "C" int fsync(int) {
  return ++flushes, 0;
}
extern "C" int fdatasync(int) {
  return ++flushes, 0;
}

namespace orvane {
namespace {

using namespace std::chrono_literals;
using testing::ReadBytes;
using testing::WriteBytes;

TEST(ScreenDpi, XftDpiIsReadStrictlyAndOddSizesFallBackTo96) {
  EXPECT_EQ(XftDpiFromResources("*bg:\tgrey\nXft.dpi:   120\nXft.hinting: 1\n"), 120.0);
  EXPECT_EQ(XftDpiFromResources("Xft.dpi:\t144.5"), 144.5);
  for (const char* resources : {"Xft.dpiX:\t96\n", "Xft.dpi:\t-5\n", "Xft.dpi:\tnope\n", ""})
    EXPECT_EQ(XftDpiFromResources(resources), std::nullopt) << resources;
  // The X server's millimetre sizes are checked under Xvfb; here the fallbacks.
  EXPECT_EQ(TwipsPerPixelFromDpi(DpiFromScreenSize(1024, 0)), 15.0f);
  EXPECT_EQ(TwipsPerPixelFromDpi(0.2), 15.0f);
}

// The data directory is private; copies and writes replace the target whole, never follow a
// link, and a failed one leaves the old target and nothing else.
TEST(FileSystem, DataDirectoryIsPrivateAndCopiesAndWritesReplaceWhole) {
  testing::TempFolder folder;
  setenv("XDG_CACHE_HOME", (folder / "cache").c_str(), 1);
  const std::unique_ptr<FileSystem> files = MakePosixFileSystem();
  EXPECT_TRUE(files->CreateDirectory("C:\\t_ovin"));
  EXPECT_TRUE(files->CreateDirectory("c:/T_OVIN")) << "an existing folder is no failure";
  EXPECT_EQ(std::filesystem::status(folder / "cache/t_ovin").permissions(),
            std::filesystem::perms(0700));
  WriteBytes(folder / "Orvane.image", "picture");
  EXPECT_TRUE(files->CopyFile(folder / "Orvane.image", "C:\\t_ovin\\Orvane.image"));
  EXPECT_EQ(ReadBytes(folder / "cache/t_ovin/Orvane.image"), "picture");
  std::filesystem::remove_all(folder / "cache");
  WriteBytes(folder / "source", "new");
  WriteBytes(folder / "victim", "keep me");
  std::filesystem::create_symlink(folder / "victim", folder / "link");
  EXPECT_TRUE(files->CopyFile(folder / "source", folder / "link"));
  EXPECT_EQ(ReadBytes(folder / "link") + ReadBytes(folder / "victim"), "newkeep me");
  WriteBytes(folder / "target", "old");
  EXPECT_FALSE(CopyFileAtomically(folder / "source", folder / "target",
                                  [](const std::string&) { return false; }));
  EXPECT_EQ(ReadBytes(folder / "target"), "old");
  // The texture copy is a cache: it is not flushed to disk. A written file is, with its folder.
  flushes = 0;
  EXPECT_TRUE(files->CopyFile(folder / "source", folder / "target"));
  EXPECT_EQ(flushes, 0);
  umask(022);
  EXPECT_TRUE(WriteFileAtomically(folder / "a.ini", "written"));
  EXPECT_EQ(flushes, 2);
  EXPECT_EQ(std::filesystem::status(folder / "a.ini").permissions(), std::filesystem::perms(0644));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 6);
}

// The started program is a child of ours in a session of its own; ProgramEnded does not wait,
// and collects it once it has ended, so no zombie is left.
TEST(Process, StartsWithoutWaitingAndTellsWhenTheProgramHasEnded) {
  auto process = MakePosixProcess();
  EXPECT_EQ(process->StartProgram("/no/such/program", {}), 0);
  const Process::ProgramId program = process->StartProgram("/bin/sh", {"-c", "sleep 3"});
  ASSERT_GT(program, 0);
  EXPECT_FALSE(process->ProgramEnded(program));
  EXPECT_EQ(getsid(static_cast<pid_t>(program)), program);
  EXPECT_TRUE(testing::WaitFor([&] { return process->ProgramEnded(program); }, 20s));
  EXPECT_TRUE(process->ProgramEnded(program)) << "asked again";
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "nothing left to collect";
  // Without a hook the host's "/a" run shows the exit code 0.
  const pid_t child = fork();
  if (child == 0) MakePosixProcess([] { _exit(3); })->EndProcess(), _exit(9);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
}

// Dead, or a zombie that nobody of ours will collect: either way no longer running.
bool NoLongerRuns(pid_t pid) {
  const std::string stat = ReadBytes("/proc/" + std::to_string(pid) + "/stat");
  const size_t paren = stat.rfind(')');
  return stat.empty() || (paren != std::string::npos && stat.substr(paren + 2, 1) == "Z");
}

// An owned program is run from the path given, never looked for on PATH, and dies with its
// host even when the host is killed outright.
TEST(OwnedProgram, RunsFromItsPathAndDiesWithAKilledHost) {
  EXPECT_FALSE(MakePosixOwnedProgram()->Start("sleep", {"30"})) << "not looked for on PATH";
  EXPECT_FALSE(MakePosixOwnedProgram()->Start("/no/such/program", {}));
  testing::TempFolder folder;
  const std::string marker = folder / "pid";
  const pid_t host = fork();
  ASSERT_GE(host, 0);
  if (host == 0) {
    auto program = MakePosixOwnedProgram();
    if (!program->Start("/bin/sh", {"-c", "echo $$ > " + marker + ".new; mv " + marker + ".new " +
                                              marker + "; exec sleep 30"}))
      _exit(1);
    pause();
    _exit(0);
  }
  ASSERT_TRUE(testing::WaitFor([&] { return std::filesystem::exists(marker); }, 10s));
  const pid_t program = std::stoi(ReadBytes(marker));
  EXPECT_FALSE(NoLongerRuns(program));
  kill(host, SIGKILL);
  ASSERT_EQ(waitpid(host, nullptr, 0), host);
  EXPECT_TRUE(testing::WaitFor([&] { return NoLongerRuns(program); }, 5s));
  if (!NoLongerRuns(program)) kill(program, SIGKILL);
}

// The timers of a GLibTimers that is gone never tick.
TEST(GLibTimers, StopWhenDestroyed) {
  int ticks = 0;
  MakeGLibTimers()->StartTimer(5ms, [&] { ++ticks; });
  const auto end = std::chrono::steady_clock::now() + 100ms;
  while (std::chrono::steady_clock::now() < end) g_main_context_iteration(nullptr, FALSE);
  EXPECT_EQ(ticks, 0);
}

}  // namespace
}  // namespace orvane
