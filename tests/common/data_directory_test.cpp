#include "common/data_directory.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>

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

TEST_F(DataDirectoryTest, IsCreatedPrivateWithItsParents) {
  ASSERT_TRUE(CreateDataDirectory());
  struct stat info {};
  ASSERT_EQ(stat(DataDirectory().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_TRUE(CreateDataDirectory());  // an existing folder is fine
}

}  // namespace
}  // namespace orvane::common
