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

TEST_F(DataDirectoryTest, FollowsXdgCacheHomeAndFallsBackToHome) {
  EXPECT_EQ(DataDirectory(), root_.string() + "/.cache/t_ovin");
  setenv("XDG_CACHE_HOME", "/var/tmp/somewhere/", 1);
  EXPECT_EQ(DataDirectory(), "/var/tmp/somewhere/t_ovin");
  setenv("XDG_CACHE_HOME", "relative/cache", 1);  // invalid: ignored
  EXPECT_EQ(DataDirectory(), root_.string() + "/.cache/t_ovin");
}

TEST_F(DataDirectoryTest, BothSpellingsOfTheTexturePathNameOneFile) {
  const std::string expected = root_.string() + "/.cache/t_ovin/Orvane.image";
  EXPECT_EQ(MapFixedPath("C:\\t_ovin\\Orvane.image"), expected);
  EXPECT_EQ(MapFixedPath("c:\\t_ovin\\Orvane.image"), expected);
  EXPECT_EQ(MapFixedPath("C:\\T_OVIN"), root_.string() + "/.cache/t_ovin");
  EXPECT_EQ(MapFixedPath("C:\\t_ovinx\\a"), "C:\\t_ovinx\\a");
  EXPECT_EQ(MapFixedPath("/home/u/a.mp3"), "/home/u/a.mp3");
}

// What one process of its own made of the data directory: the answers of two checks in a row
// and all it wrote on standard error.
struct Outcome {
  DataDirectoryState first, second;
  std::string errors;
};
Outcome CheckTwiceInAProcessOfItsOwn(const std::function<DataDirectoryState()>& firstCheck) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], STDERR_FILENO);
    const int first = static_cast<int>(firstCheck());
    const int second = static_cast<int>(CheckDataDirectory());
    _exit(first * 4 + second);
  }
  close(pipeEnds[1]);
  std::string errors;
  char buffer[256];
  for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    errors.append(buffer, got);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 15;
  return {static_cast<DataDirectoryState>(code / 4), static_cast<DataDirectoryState>(code % 4),
          errors};
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST_F(DataDirectoryTest, OneOfTheUsersOwnThatOthersCanWriteIsMadePrivateAndUsed) {
  std::filesystem::create_directories(DataDirectory());
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
  const std::function<DataDirectoryState()> checkOrCreate[] = {
      CheckDataDirectory, [] {
        return CreateDataDirectory() ? DataDirectoryState::Usable : DataDirectoryState::Refused;
      }};
  for (const auto& first : checkOrCreate) {
    const Outcome outcome = CheckTwiceInAProcessOfItsOwn(first);
    EXPECT_EQ(outcome.first, DataDirectoryState::Refused);
    EXPECT_EQ(outcome.second, DataDirectoryState::Refused);
    EXPECT_EQ(outcome.errors, "common_tests: the data directory " + path +
                                  " belongs to another user (owner nobody); it is not used\n");
    EXPECT_EQ(ModeOf(path), 0777u) << "not ours to change";
  }

  // A link to a directory of the user's own is refused all the same: it could be made to
  // point anywhere.
  std::filesystem::remove(path);
  std::filesystem::create_directories(root_ / "elsewhere");
  chmod((root_ / "elsewhere").c_str(), 0777);
  std::filesystem::create_directory_symlink(root_ / "elsewhere", path);
  const Outcome outcome = CheckTwiceInAProcessOfItsOwn(CheckDataDirectory);
  EXPECT_EQ(outcome.first, DataDirectoryState::Refused);
  EXPECT_EQ(outcome.second, DataDirectoryState::Refused);
  EXPECT_EQ(outcome.errors, "common_tests: the data directory " + path +
                                " is a symbolic link (owner root); it is not used\n");
  EXPECT_EQ(ModeOf(root_ / "elsewhere"), 0777u);
}

TEST_F(DataDirectoryTest, IsCreatedPrivateWithItsParents) {
  ASSERT_TRUE(CreateDataDirectory());
  struct stat info {};
  ASSERT_EQ(stat(DataDirectory().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_TRUE(CreateDataDirectory());  // an existing folder is fine
}

}  // namespace
}  // namespace orvane::common
