// The Linux platform's own parts; the rules both systems keep are in platform_rules_test.cpp.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>

#include "platform/atomic_file.h"
#include "platform/linux/posix_platform.h"
#include "platform/linux/settings_place.h"
#include "platform/linux/x11_platform.h"
#include "platform/owned_program.h"
#include "platform/screen_dpi.h"
#include "tests/support/child.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using testing::ReadBytes, testing::WriteBytes;

TEST(ScreenDpi, XftDpiIsReadStrictlyAndOddSizesFallBackTo96) {
  EXPECT_EQ(XftDpiFromResources("*bg:\tgrey\nXft.dpi:   120\nXft.hinting: 1\n"), 120.0);
  EXPECT_EQ(XftDpiFromResources("Xft.dpi:\t144.5"), 144.5);
  for (const char* resources : {"Xft.dpiX:\t96\n", "Xft.dpi:\t-5\n", "Xft.dpi:\tnope\n", ""})
    EXPECT_EQ(XftDpiFromResources(resources), std::nullopt) << resources;
  EXPECT_EQ(TwipsPerPixelFromDpi(DpiFromScreenSize(1024, 0)), 15.0f);
  EXPECT_EQ(TwipsPerPixelFromDpi(0.2), 15.0f);
}

// Copies and writes never follow a link; a failed one leaves the old target, and no temporary.
TEST(FileSystem, CopiesAndWritesReplaceWhole) {
  testing::TempFolder folder;
  const std::unique_ptr<FileSystem> files = MakePosixFileSystem();
  WriteBytes(folder / "source", "new");
  WriteBytes(folder / "victim", "keep me");
  std::filesystem::create_symlink(folder / "victim", folder / "link");
  EXPECT_TRUE(files->CopyFile(folder / "source", folder / "link"));
  EXPECT_EQ(ReadBytes(folder / "link") + ReadBytes(folder / "victim"), "newkeep me");
  EXPECT_FALSE(CopyFileAtomically(folder / "source", folder / "victim",
                                  [](const std::string&) { return false; }));
  EXPECT_EQ(ReadBytes(folder / "victim"), "keep me");
  umask(022);
  EXPECT_TRUE(WriteFileAtomically(folder / "a.ini", "written"));
  EXPECT_EQ(std::filesystem::status(folder / "a.ini").permissions(), std::filesystem::perms(0644));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 4);
}

// Dead, or a zombie that nobody of ours will collect: either way no longer running.
bool NoLongerRuns(pid_t pid) {
  const std::string stat = ReadBytes("/proc/" + std::to_string(pid) + "/stat");
  const size_t paren = stat.rfind(')');
  return stat.empty() || (paren != std::string::npos && stat.substr(paren + 2, 1) == "Z");
}

// An owned program runs from the path given, never from PATH, and dies with a killed host.
TEST(OwnedProgram, RunsFromItsPathAndDiesWithAKilledHost) {
  EXPECT_FALSE(MakePosixOwnedProgram()->Start("sleep", {"30"})) << "not looked for on PATH";
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

// Answers from two lists: root may write anything, so read-only folders are this fake's.
struct FakeFileAccess final : FileAccess {
  std::set<std::string> existing, writable;
  bool Exists(const std::string& path) override { return existing.count(path) != 0; }
  bool Writable(const std::string& path) override { return writable.count(path) != 0; }
};

// What the real files cannot show (platform_rules_test.cpp has the rest): a settings file the
// user may write in a folder they may not, and the package's folders under /usr even for root.
TEST(SettingsPlace, AWritableFileTheFoldersUnderUsrAndTheUsersOwnFolders) {
  const std::string user = "/home/ann/.config/orvane/Orvane.ini";
  const struct {
    std::string host;
    std::set<std::string> existing, writable;
    std::string expected;
  } cases[] = {
      // clang-format off
      {"/srv/orvane", {"/srv/orvane/Orvane.ini"}, {"/srv/orvane/Orvane.ini"}, "/srv/orvane/Orvane.ini"},
      {"/usr/lib/orvane", {"/usr/lib/orvane/Orvane.ini"}, {"/usr/lib/orvane", "/usr/lib/orvane/Orvane.ini"}, user},
      {"/usr/local/lib/orvane", {}, {"/usr/local/lib/orvane"}, user},
      {"/usrlocal/orvane", {}, {"/usrlocal/orvane"}, "/usrlocal/orvane/Orvane.ini"},
      // clang-format on
  };
  for (const auto& c : cases) {
    FakeFileAccess access;
    access.existing = c.existing;
    access.writable = c.writable;
    EXPECT_EQ(ChooseSettingsPath(c.host, "/home/ann/.config/orvane", access), c.expected) << c.host;
  }
  // The user's own: XDG_CONFIG_HOME when it is absolute, and the music folder the desktop names
  // (user-dirs.dirs) while it exists.
  testing::TempFolder folder;
  setenv("HOME", (folder / "home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", "relative/config", 1);  // invalid: ignored
  const auto files = MakePosixUserFiles();
  EXPECT_EQ(files->UserPicturePath(), folder / "home/.config/orvane/Orvane.image");
  setenv("XDG_CONFIG_HOME", (folder / "config/").c_str(), 1);
  EXPECT_EQ(files->SettingsPath("/usr/lib/orvane"), folder / "config/orvane/Orvane.ini");
  std::filesystem::create_directories(folder / "home/Musik");
  std::filesystem::create_directories(folder / "config");
  WriteBytes(folder / "config/user-dirs.dirs", "XDG_MUSIC_DIR=\"$HOME/Musik\"\n");
  EXPECT_EQ(files->MusicFolder(), folder / "home/Musik");
  std::filesystem::remove(folder / "home/Musik");
  EXPECT_EQ(files->MusicFolder(), "") << "named, but gone";
}

}  // namespace
}  // namespace orvane
