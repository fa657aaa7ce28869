#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "common/xdg_folder.h"
#include "tests/support/another_user.h"
#include "tests/support/temp_folder.h"

namespace orvane::common {
namespace {

// The user's runtime folder is taken only when it is a private folder of the user's own: a
// daemon's saver must not put its sound server's socket or its lock where others reach them.
TEST(RuntimeFolder, OnlyAPrivateFolderOfTheUsersOwnIsTaken) {
  testing::TempFolder base;
  const uid_t uid = getuid();
  const std::string own = base / std::to_string(uid);
  const auto make = [&](mode_t mode) {
    std::filesystem::remove_all(own);
    mkdir(own.c_str(), 0700);
    chmod(own.c_str(), mode);
  };
  make(0700);
  EXPECT_EQ(PrivateRuntimeFolder(base.path(), uid), own);
  EXPECT_EQ(PrivateRuntimeFolder(base.path(), uid + 1), "") << "another user's number";
  for (mode_t mode : {0750, 0701, 0707, 0500, 01700}) {
    make(mode);
    EXPECT_EQ(PrivateRuntimeFolder(base.path(), uid), "") << std::oct << mode;
  }
  make(0700);
  ASSERT_TRUE(testing::GiveToAnotherUser(own));
  EXPECT_EQ(PrivateRuntimeFolder(base.path(), uid), "") << "another user's folder";

  std::filesystem::remove_all(own);
  EXPECT_EQ(PrivateRuntimeFolder(base.path(), uid), "") << "missing";
  testing::WriteBytes(own, "");
  chmod(own.c_str(), 0700);
  EXPECT_EQ(PrivateRuntimeFolder(base.path(), uid), "") << "a file";
  std::filesystem::remove(own);
  mkdir((base / "elsewhere").c_str(), 0700);
  std::filesystem::create_directory_symlink(base / "elsewhere", own);
  EXPECT_EQ(PrivateRuntimeFolder(base.path(), uid), "") << "a link";
}

}  // namespace
}  // namespace orvane::common
