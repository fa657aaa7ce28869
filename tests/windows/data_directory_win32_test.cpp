// The data directory on Windows is the fixed folder itself; the test runs in a Wine prefix of
// its own, whose drive C: it may change.

#include <gtest/gtest.h>
#include <windows.h>

#include "common/data_directory.h"

namespace orvane::common {
namespace {

TEST(DataDirectoryWin32, IsTheFixedFolderItselfAndIsCreatedThere) {
  EXPECT_EQ(DataDirectory(), "C:\\t_ovin");
  EXPECT_EQ(MapFixedPath("c:\\t_ovin\\Orvane.image"), "c:\\t_ovin\\Orvane.image");
  EXPECT_EQ(MapFixedPath("D:\\Music\\a.mp3"), "D:\\Music\\a.mp3");

  RemoveDirectoryA("C:\\t_ovin");
  ASSERT_EQ(GetFileAttributesA("C:\\t_ovin"), INVALID_FILE_ATTRIBUTES) << "C:\\t_ovin is in use";
  EXPECT_TRUE(CreateDataDirectory());
  EXPECT_NE(GetFileAttributesA("C:\\t_ovin") & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_TRUE(CreateDataDirectory()) << "an existing folder is no failure";
}

}  // namespace
}  // namespace orvane::common
