// Where the settings live: beside the host for a per-user installation, in the user's own
// folder for a system-wide one.
#include "platform/linux/settings_place.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/linux/posix_platform.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

// Answers from two lists: root may write anything, so read-only folders are this fake's.
class FakeFileAccess final : public FileAccess {
 public:
  std::set<std::string> existing, writable;
  bool Exists(const std::string& path) override { return existing.count(path) != 0; }
  bool Writable(const std::string& path) override { return writable.count(path) != 0; }
};

TEST(SettingsPlace, EachBranchOfTheRule) {
  const std::string user = "/home/ann/.config/orvane/Orvane.ini";
  const struct {
    const char* why;
    std::string host;
    std::set<std::string> existing, writable;
    std::string expected;
  } cases[] = {
      // clang-format off
      {"per-user installation, no settings yet", "/home/ann/lib/orvane", {},
       {"/home/ann/lib/orvane"}, "/home/ann/lib/orvane/Orvane.ini"},
      {"no settings file and a read-only folder", "/opt/orvane", {}, {}, user},
      {"a writable settings file in a read-only folder", "/srv/orvane", {"/srv/orvane/Orvane.ini"},
       {"/srv/orvane/Orvane.ini"}, "/srv/orvane/Orvane.ini"},
      {"the package's folder, even for root", "/usr/lib/orvane", {"/usr/lib/orvane/Orvane.ini"},
       {"/usr/lib/orvane", "/usr/lib/orvane/Orvane.ini"}, user},
      {"/usr/local", "/usr/local/lib/orvane", {}, {"/usr/local/lib/orvane"}, user},
      {"a name that only starts with usr", "/usrlocal/orvane", {}, {"/usrlocal/orvane"},
       "/usrlocal/orvane/Orvane.ini"},
      // clang-format on
  };
  for (const auto& c : cases) {
    FakeFileAccess access;
    access.existing = c.existing;
    access.writable = c.writable;
    EXPECT_EQ(ChooseSettingsPath(c.host, "/home/ann/.config/orvane", access), c.expected) << c.why;
  }
}

// XDG_CONFIG_HOME when it is absolute, and the music folder the desktop names (user-dirs.dirs)
// while it exists.
TEST(SettingsPlace, PosixUserFilesUseXdgConfigHomeAndTheDesktopsMusicFolder) {
  testing::TempFolder folder;
  setenv("HOME", (folder / "home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", "relative/config", 1);  // invalid: ignored
  const auto files = MakePosixUserFiles();
  EXPECT_EQ(files->SettingsPath("/usr/lib/orvane"), folder / "home/.config/orvane/Orvane.ini");
  EXPECT_EQ(files->UserPicturePath(), folder / "home/.config/orvane/Orvane.image");
  setenv("XDG_CONFIG_HOME", (folder / "config/").c_str(), 1);
  EXPECT_EQ(files->SettingsPath("/usr/lib/orvane"), folder / "config/orvane/Orvane.ini");
  std::filesystem::create_directories(folder / "home/Musik");
  std::filesystem::create_directories(folder / "config");
  testing::WriteBytes(folder / "config/user-dirs.dirs", "XDG_MUSIC_DIR=\"$HOME/Musik\"\n");
  EXPECT_EQ(files->MusicFolder(), folder / "home/Musik");
  std::filesystem::remove(folder / "home/Musik");
  EXPECT_EQ(files->MusicFolder(), "") << "named, but gone";
}

}  // namespace
}  // namespace orvane
