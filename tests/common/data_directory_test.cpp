#include "common/data_directory.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "tests/support/another_user.h"

namespace orvane::common {
namespace {

class DataDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() / ("orvane-dd-" + std::to_string(getpid()));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
    setenv("HOME", root_.c_str(), 1);
    unsetenv("XDG_CACHE_HOME");
  }
  void TearDown() override { std::filesystem::remove_all(root_); }
  std::filesystem::path root_;
};

TEST_F(DataDirectoryTest, FollowsXdgCacheHomeAndBothSpellingsOfTheTexturePathNameOneFile) {
  const std::string cache = root_.string() + "/.cache/t_ovin";
  EXPECT_EQ(DataDirectory(), cache);
  EXPECT_EQ(MapFixedPath("C:\\t_ovin\\Orvane.image"), cache + "/Orvane.image");
  EXPECT_EQ(MapFixedPath("c:\\t_ovin\\Orvane.image"), cache + "/Orvane.image");
  EXPECT_EQ(MapFixedPath("C:\\T_OVIN"), cache);
  EXPECT_EQ(MapFixedPath("C:\\t_ovinx\\a"), "C:\\t_ovinx\\a");
  EXPECT_EQ(MapFixedPath("/home/u/a.mp3"), "/home/u/a.mp3");
  setenv("XDG_CACHE_HOME", "/var/tmp/somewhere/", 1);
  EXPECT_EQ(DataDirectory(), "/var/tmp/somewhere/t_ovin");
  setenv("XDG_CACHE_HOME", "relative/cache", 1);  // invalid: ignored
  EXPECT_EQ(DataDirectory(), cache);
}

// What a process of its own wrote on standard error while it checked twice, the first time
// through `first`, then "refused" for each refusal.
std::string CheckTwiceInAProcessOfItsOwn(const std::function<bool()>& first) {
  int ends[2];
  if (pipe(ends) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    dup2(ends[1], STDERR_FILENO);
    _exit(!first() * 2 + (CheckDataDirectory() == DataDirectoryState::Refused));
  }
  close(ends[1]);
  std::string text;
  char buffer[256];
  for (ssize_t got; (got = read(ends[0], buffer, sizeof buffer)) > 0;) text.append(buffer, got);
  close(ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return text + (WIFEXITED(status) && WEXITSTATUS(status) == 3 ? "refused twice" : "used");
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Made private with its parents; one of the user's own that others can write is made private.
TEST_F(DataDirectoryTest, OneOfTheUsersOwnIsCreatedOrMadePrivateAndUsed) {
  ASSERT_TRUE(CreateDataDirectory());
  EXPECT_EQ(ModeOf(DataDirectory()), 0700u);
  for (mode_t mode : {0777, 0770, 0702}) {
    chmod(DataDirectory().c_str(), mode);
    EXPECT_EQ(CheckDataDirectory(), DataDirectoryState::Usable) << mode;
    EXPECT_EQ(ModeOf(DataDirectory()), 0700u) << mode;
  }
  chmod(DataDirectory().c_str(), 0777);
  EXPECT_TRUE(CreateDataDirectory());
  EXPECT_EQ(ModeOf(DataDirectory()), 0700u);
  std::filesystem::remove(DataDirectory());
  EXPECT_EQ(CheckDataDirectory(), DataDirectoryState::Missing);
}

// Another user's directory, or a link, is refused and left as it is; the first refusal in a
// process writes one line naming the path and the owner.
TEST_F(DataDirectoryTest, AnotherUsersDirectoryOrALinkIsRefusedWithOneLine) {
  const std::string path = DataDirectory();
  std::filesystem::create_directories(path);
  chmod(path.c_str(), 0777);
  ASSERT_TRUE(testing::GiveToAnotherUser(path)) << "giving a folder to another user takes root";
  const std::string line = "common_tests: the data directory " + path;
  const std::function<bool()> check = [] {
    return CheckDataDirectory() == DataDirectoryState::Usable;
  };
  for (const std::function<bool()>& first : {check, std::function<bool()>(CreateDataDirectory)}) {
    EXPECT_EQ(CheckTwiceInAProcessOfItsOwn(first),
              line + " belongs to another user (owner nobody); it is not used\nrefused twice");
    EXPECT_EQ(ModeOf(path), 0777u) << "not ours to change";
  }
  // A link to a directory of the user's own could be made to point anywhere.
  std::filesystem::remove(path);
  std::filesystem::create_directories(root_ / "elsewhere");
  chmod((root_ / "elsewhere").c_str(), 0777);
  std::filesystem::create_directory_symlink(root_ / "elsewhere", path);
  EXPECT_EQ(CheckTwiceInAProcessOfItsOwn(check),
            line + " is a symbolic link (owner root); it is not used\nrefused twice");
  EXPECT_EQ(ModeOf(root_ / "elsewhere"), 0777u);
}

}  // namespace
}  // namespace orvane::common
