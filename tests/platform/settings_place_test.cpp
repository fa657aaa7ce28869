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

// A file system that answers from two lists; every path it is not told about is missing and
// not writable.
class FakeFileAccess final : public FileAccess {
 public:
  std::set<std::string> existing;
  std::set<std::string> writable;
  bool Exists(const std::string& path) override { return existing.count(path) != 0; }
  bool Writable(const std::string& path) override { return writable.count(path) != 0; }
};

TEST(SettingsPlace, EachBranchOfTheRule) {
  const std::string user = "/home/ann/.config/orvane/Orvane.ini";
  struct Case {
    const char* why;
    std::string host;
    std::set<std::string> existing, writable;
    std::string expected;
  };
  const Case cases[] = {
      {"per-user installation, no settings yet, writable folder",
       "/home/ann/.local/lib/orvane",
       {},
       {"/home/ann/.local/lib/orvane"},
       "/home/ann/.local/lib/orvane/Orvane.ini"},
      {"per-user installation with its writable settings file",
       "/opt/orvane",
       {"/opt/orvane/Orvane.ini"},
       {"/opt/orvane/Orvane.ini"},
       "/opt/orvane/Orvane.ini"},
      {"settings file read-only in a writable folder",
       "/opt/orvane",
       {"/opt/orvane/Orvane.ini"},
       {"/opt/orvane"},
       user},
      {"no settings file and a read-only folder", "/opt/orvane", {}, {}, user},
      {"a writable settings file in a read-only folder is still written in place",
       "/srv/orvane",
       {"/srv/orvane/Orvane.ini"},
       {"/srv/orvane/Orvane.ini"},
       "/srv/orvane/Orvane.ini"},
      {"the package's folder, even for root who may write it",
       "/usr/lib/orvane",
       {"/usr/lib/orvane/Orvane.ini"},
       {"/usr/lib/orvane", "/usr/lib/orvane/Orvane.ini"},
       user},
      {"/usr itself", "/usr", {}, {"/usr"}, user},
      {"/usr/local is under /usr too",
       "/usr/local/lib/orvane",
       {},
       {"/usr/local/lib/orvane"},
       user},
      {"a folder whose name only starts with usr",
       "/usrlocal/orvane",
       {},
       {"/usrlocal/orvane"},
       "/usrlocal/orvane/Orvane.ini"},
  };
  for (const Case& c : cases) {
    FakeFileAccess access;
    access.existing = c.existing;
    access.writable = c.writable;
    EXPECT_EQ(ChooseSettingsPath(c.host, "/home/ann/.config/orvane", access), c.expected) << c.why;
  }
}

// Until the chosen file exists, the one beside the host is read.
TEST(SettingsPlace, TheSettingsBesideTheHostAreReadUntilTheUsersOwnExist) {
  const std::string user = "/home/ann/.config/orvane/Orvane.ini";
  const std::string beside = "/opt/orvane/Orvane.ini";
  const struct {
    std::set<std::string> existing;
    std::string chosen, expected;
  } cases[] = {{{beside}, user, beside},
               {{beside, user}, user, user},
               {{}, user, user},
               {{user}, user, user},
               {{beside}, beside, beside}};
  for (const auto& c : cases) {
    FakeFileAccess access;
    access.existing = c.existing;
    EXPECT_EQ(ChooseSettingsSource(c.chosen, "/opt/orvane", access), c.expected)
        << c.existing.size() << " " << c.chosen;
  }
}

// The real rule on real folders (the tests may run as root, who may write anything, so the
// read-only cases are the fake's).
TEST(SettingsPlace, PosixUserFilesUseXdgConfigHome) {
  testing::TempFolder folder;
  setenv("HOME", (folder / "home").c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  const auto files = MakePosixUserFiles();
  EXPECT_EQ(files->SettingsPath(folder.path()), folder / "Orvane.ini");
  EXPECT_EQ(files->SettingsPath("/usr/lib/orvane"), folder / "home/.config/orvane/Orvane.ini");
  EXPECT_EQ(files->SettingsPath(folder / "no-such-folder"),
            folder / "home/.config/orvane/Orvane.ini");
  EXPECT_EQ(files->UserPicturePath(), folder / "home/.config/orvane/Orvane.image");
  // A settings file no one may write sends even root to the user's folder, and is read there
  // until the user's own file exists.
  testing::WriteBytes(folder / "Orvane.ini", "[Section]\r\n");
  std::filesystem::permissions(folder / "Orvane.ini", std::filesystem::perms(0444));
  EXPECT_EQ(files->SettingsPath(folder.path()), folder / "home/.config/orvane/Orvane.ini");
  EXPECT_EQ(files->SettingsSourcePath(folder.path()), folder / "Orvane.ini");
  std::filesystem::create_directories(folder / "home/.config/orvane");
  testing::WriteBytes(folder / "home/.config/orvane/Orvane.ini", "");
  EXPECT_EQ(files->SettingsSourcePath(folder.path()), folder / "home/.config/orvane/Orvane.ini");
  setenv("XDG_CONFIG_HOME", (folder / "config/").c_str(), 1);
  EXPECT_EQ(files->SettingsPath("/usr/lib/orvane"), folder / "config/orvane/Orvane.ini");
  EXPECT_EQ(files->UserPicturePath(), folder / "config/orvane/Orvane.image");
  setenv("XDG_CONFIG_HOME", "relative/config", 1);  // invalid: ignored
  EXPECT_EQ(files->UserPicturePath(), folder / "home/.config/orvane/Orvane.image");
}

// The music folder the desktop names (user-dirs.dirs) while it exists, and the home folder.
TEST(SettingsPlace, PosixUserFilesKnowTheDesktopsMusicAndHomeFolders) {
  testing::TempFolder folder;
  setenv("HOME", (folder / "home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
  std::filesystem::create_directories(folder / "home/Musik");
  std::filesystem::create_directories(folder / "config");
  testing::WriteBytes(folder / "config/user-dirs.dirs", "XDG_MUSIC_DIR=\"$HOME/Musik\"\n");
  const auto files = MakePosixUserFiles();
  EXPECT_EQ(files->MusicFolder(), folder / "home/Musik");
  EXPECT_EQ(files->HomeFolder(), folder / "home");
  std::filesystem::remove(folder / "home/Musik");
  EXPECT_EQ(files->MusicFolder(), "") << "named, but gone";
}

}  // namespace
}  // namespace orvane
