// The folders the programs trust: the data directory and the user's runtime folder.
#include "common/data_directory.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "common/xdg_folder.h"
#include "tests/support/nobody.h"
#include "tests/support/temp_folder.h"

namespace orvane::common {
namespace {

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Another user's directory, or a link, is refused twice and left as it is; only the first refusal
// in a process (a death test's own) writes its line.
TEST(DataDirectoryTest, IsMadePrivateAndAnotherUsersOrALinkIsRefusedWithOneLine) {
  testing::TempFolder home;
  setenv("HOME", home.path().c_str(), 1);
  unsetenv("XDG_CACHE_HOME");
  const std::string cache = home / ".cache/t_ovin";
  EXPECT_EQ(MapFixedPath("c:\\t_ovin\\Orvane.image"), cache + "/Orvane.image");
  EXPECT_EQ(MapFixedPath("C:\\T_OVIN"), cache);
  EXPECT_EQ(MapFixedPath("C:\\t_ovinx\\a"), "C:\\t_ovinx\\a");
  setenv("XDG_CACHE_HOME", "/var/tmp/somewhere/", 1);
  EXPECT_EQ(DataDirectory(), "/var/tmp/somewhere/t_ovin");
  setenv("XDG_CACHE_HOME", "relative/cache", 1);  // invalid: ignored
  EXPECT_EQ(DataDirectory(), cache);
  ASSERT_TRUE(CreateDataDirectory());
  EXPECT_EQ(ModeOf(DataDirectory()), 0700u);
  chmod(DataDirectory().c_str(), 0777);
  EXPECT_EQ(CheckDataDirectory(), DataDirectoryState::Usable);
  EXPECT_EQ(ModeOf(DataDirectory()), 0700u);
  std::filesystem::remove(DataDirectory());
  EXPECT_EQ(CheckDataDirectory(), DataDirectoryState::Missing);
  const std::string path = DataDirectory();
  std::filesystem::create_directories(path);
  chmod(path.c_str(), 0777);
  ASSERT_TRUE(testing::GiveToAnotherUser(path)) << "giving a folder to another user takes root";
  const auto refusedTwice = [](bool create) {
    const bool first =
        create ? !CreateDataDirectory() : CheckDataDirectory() == DataDirectoryState::Refused;
    _exit(first && CheckDataDirectory() == DataDirectoryState::Refused ? 3 : 0);
  };
  const std::string line = "^common_tests: the data directory " + path;
  EXPECT_EXIT(refusedTwice(false), ::testing::ExitedWithCode(3),
              line + " belongs to another user \\(owner nobody\\); it is not used\n$");
  EXPECT_EXIT(refusedTwice(true), ::testing::ExitedWithCode(3), "owner nobody");
  EXPECT_EQ(ModeOf(path), 0777u) << "not ours to change";
  // A link to a directory of the user's own could be made to point anywhere.
  std::filesystem::remove(path);
  std::filesystem::create_directories(home / "elsewhere");
  chmod((home / "elsewhere").c_str(), 0777);
  std::filesystem::create_directory_symlink(home / "elsewhere", path);
  EXPECT_EXIT(refusedTwice(false), ::testing::ExitedWithCode(3),
              line + " is a symbolic link \\(owner root\\); it is not used\n$");
  EXPECT_EQ(ModeOf(home / "elsewhere"), 0777u);
}

// A daemon's saver must not put its sound server's socket or its lock where others reach them.
TEST(RuntimeFolder, OnlyAPrivateFolderOfTheUsersOwnIsTakenForAnUnsetVariable) {
  testing::TempFolder base;
  const uid_t uid = getuid();
  const std::string own = base / std::to_string(uid);
  const auto after = [&](const char* value) {
    value != nullptr ? setenv("XDG_RUNTIME_DIR", value, 1) : unsetenv("XDG_RUNTIME_DIR");
    SetRuntimeFolderWhenUnset(base.path());
    const char* now = std::getenv("XDG_RUNTIME_DIR");
    return now != nullptr ? std::string(now) : std::string("(unset)");
  };
  mkdir((base / "elsewhere").c_str(), 0700);
  EXPECT_EQ(PrivateRuntimeFolder(base.path(), uid), "") << "missing";
  mkdir(own.c_str(), 0700);
  EXPECT_EQ(PrivateRuntimeFolder(base.path(), uid), own);
  EXPECT_EQ(PrivateRuntimeFolder(base.path(), uid + 1), "") << "another user's number";
  EXPECT_EQ(after(nullptr), own);
  EXPECT_EQ(after(""), own);
  EXPECT_EQ(after("/elsewhere"), "/elsewhere");
  for (mode_t mode : {0750, 0701, 0707, 0500, 01700}) {
    chmod(own.c_str(), mode);
    EXPECT_EQ(PrivateRuntimeFolder(base.path(), uid), "") << std::oct << mode;
  }
  EXPECT_EQ(after(nullptr), "(unset)");
  chmod(own.c_str(), 0700);
  ASSERT_TRUE(testing::GiveToAnotherUser(own));
  EXPECT_EQ(PrivateRuntimeFolder(base.path(), uid), "") << "another user's folder";
  std::filesystem::remove(own);
  std::filesystem::create_directory_symlink(base / "elsewhere", own);
  EXPECT_EQ(PrivateRuntimeFolder(base.path(), uid), "") << "a link";
}

}  // namespace
}  // namespace orvane::common
