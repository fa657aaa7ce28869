// The Windows installer under Wine: the silent install for the user, an upgrade, the uninstall
// and its switches, and its language. Each test has an Xvfb and a Wine prefix of its own.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <regex>
#include <set>

#include "tests/support/programs.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using namespace orvane::testing;
namespace fs = std::filesystem;

const std::string kBuild = ORVANE_WINDOWS_BUILD_DIR;
const std::string kDesktopKey = "HKCU\\Control Panel\\Desktop";
const std::string kUninstallKey =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvane";
const std::string kOtherSaver = "C:\\windows\\system32\\other.scr";

// The installer in the build tree and the version its name carries.
std::pair<std::string, std::string> FindInstaller() {
  const std::regex name("Orvane-([0-9]+\\.[0-9]+\\.[0-9]+)-setup\\.exe");
  if (fs::is_directory(kBuild)) {
    for (const auto& entry : fs::directory_iterator(kBuild)) {
      std::smatch match;
      const std::string file = entry.path().filename().string();
      if (std::regex_match(file, match, name)) return {entry.path().string(), match[1]};
    }
  }
  return {};
}

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  if (fs::is_directory(folder))
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

// An ASCII text as UTF-16 with its closing NUL.
std::string Utf16(const std::string& ascii) {
  std::string wide;
  for (char c : ascii) wide += {c, '\0'};
  return wide + std::string(2, '\0');
}

// A version resource's string: the key, padding to four bytes and the value.
bool HasVersionValue(const std::string& program, const std::string& key, const std::string& value) {
  std::size_t at = 0;
  while ((at = program.find(Utf16(key), at + 1)) != std::string::npos)
    if (program.compare((at + 2 * key.size() + 5) / 4 * 4, 2 * value.size() + 2, Utf16(value)) == 0)
      return true;
  return false;
}

class InstallerWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb_.running() && programs_.ready());
    std::tie(installer_, version_) = FindInstaller();
    ASSERT_FALSE(installer_.empty()) << "scripts/windows.sh builds the installer in " << kBuild;
    std::string user;
    for (const std::string& name : Names(programs_.Home() + "/drive_c/users"))
      if (name != "Public") user = name;
    ASSERT_FALSE(user.empty());
    folder_ = programs_.Home() + "/drive_c/users/" + user + "/AppData/Local/Programs/Orvane";
    windowsFolder_ = "C:\\users\\" + user + "\\AppData\\Local\\Programs\\Orvane";
    shortcut_ = programs_.Home() + "/drive_c/users/" + user +
                "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Orvane.lnk";
  }
  // Waits for all it started too: the uninstaller runs on from a copy of itself in %TEMP%.
  int Run(const std::string& program, const std::string& arguments) {
    const int code = programs_.Run("wine '" + program + "' " + arguments).first;
    programs_.Run("wineserver -w");
    return code;
  }
  std::string Packed(const std::string& name) const {
    return kBuild + "/package/Orvane-" + version_ + "/" + name;
  }
  // As Apps & features starts it: by its Windows name on drive C:.
  void Uninstall(const std::string& arguments) {
    ASSERT_EQ(Run(windowsFolder_ + "\\Uninstall.exe", arguments), 0);
  }
  std::optional<std::string> Query(const std::string& key, const std::string& value) {
    const auto [code, out] = programs_.Run("wine reg query '" + key + "' /v '" + value + "'");
    const std::regex line("    " + std::regex_replace(value, std::regex("\\."), "\\.") +
                          "    REG_[A-Z]+    ([^\r\n]*)");
    std::smatch match;
    if (code != 0 || !std::regex_search(out, match, line)) return std::nullopt;
    return match[1].str();
  }
  // Wine's reg tool now and then fails to start while the previous program's server winds down.
  void Set(const std::string& key, const std::string& value, const std::string& data) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (programs_.Run("wine reg add '" + key + "' /v '" + value + "' /d '" + data + "' /f")
              .first == 0)
        return;
      programs_.Run("wineserver -w");
    }
    FAIL() << "reg add " << key << " " << value;
  }

  Xvfb xvfb_;
  Programs programs_{Build::Windows, xvfb_};
  std::string installer_, version_, folder_, windowsFolder_, shortcut_;
};

// The silent install puts the programs in the user's folder, the settings dialog in the Start
// menu, the entry in Apps & features, and makes Orvane the saver. An upgrade keeps Orvane.ini,
// and so does the uninstall, which takes the picture's copy and leaves a saver chosen after
// ours; /REMOVESETTINGS takes Orvane.ini and the folder too.
TEST_F(InstallerWineTest, InstallsUpgradesAndUninstallsForTheUser) {
  Set(kDesktopKey, "ScreenSaveActive", "0");
  ASSERT_EQ(Run(installer_, "/S"), 0);
  EXPECT_EQ(Names(folder_), (std::set<std::string>{"COPYING.txt", "NOTICES.txt", "Orvane.dll",
                                                   "Orvane.image", "Orvane.scr", "Uninstall.exe"}));
  EXPECT_EQ(ReadBytes(folder_ + "/Orvane.scr"), ReadBytes(Packed("Orvane.scr")));
  for (const char* name : {"Orvane.scr", "Orvane.dll"})
    EXPECT_TRUE(HasVersionValue(ReadBytes(folder_ + "/" + name), "FileVersion", version_)) << name;
  // The shortcut's target and its arguments, a counted UTF-16 text (Wine counts the NUL too).
  const std::string link = ReadBytes(shortcut_);
  EXPECT_NE(link.find(std::string("O\0r\0v\0a\0n\0e\0.\0s\0c\0r\0", 20)), std::string::npos);
  const std::size_t arguments = link.find(std::string("/\0c\0", 4));
  ASSERT_NE(arguments, std::string::npos) << "opens /c";
  EXPECT_TRUE(arguments >= 2 && link[arguments - 1] == '\0' &&
              (link[arguments - 2] == 2 || (link[arguments - 2] == 3 && link[arguments + 5] == 0)))
      << "opens /c and nothing more";

  const std::string scr = windowsFolder_ + "\\Orvane.scr";
  EXPECT_EQ(Query(kUninstallKey, "DisplayName"), "Orvane");
  EXPECT_EQ(Query(kUninstallKey, "DisplayVersion"), version_);
  EXPECT_EQ(Query(kUninstallKey, "UninstallString"), "\"" + windowsFolder_ + "\\Uninstall.exe\"");
  EXPECT_EQ(Query(kDesktopKey, "SCRNSAVE.EXE"), scr);
  EXPECT_EQ(Query(kDesktopKey, "ScreenSaveActive"), "1");

  // An upgrade over a damaged older version, after a saver run.
  const std::string settings = "[Section]\r\nBGM\x8B\xE6\x95\xAA=1\r\n";
  WriteBytes(folder_ + "/Orvane.ini", settings);
  WriteBytes(programs_.DataDirectory() + "/Orvane.image", "the saver's copy");
  WriteBytes(folder_ + "/Orvane.dll", "older");
  Set(kUninstallKey, "DisplayVersion", "0.9.0");
  ASSERT_EQ(Run(installer_, "/S"), 0);
  EXPECT_EQ(ReadBytes(folder_ + "/Orvane.dll"), ReadBytes(Packed("Orvane.dll")));
  EXPECT_EQ(Query(kUninstallKey, "DisplayVersion"), version_);
  EXPECT_EQ(ReadBytes(folder_ + "/Orvane.ini"), settings) << "the upgrade keeps the settings";

  // The user chooses another saver, then uninstalls.
  Set(kDesktopKey, "SCRNSAVE.EXE", kOtherSaver);
  Uninstall("/S");
  EXPECT_EQ(Names(folder_), std::set<std::string>{"Orvane.ini"});
  EXPECT_EQ(ReadBytes(folder_ + "/Orvane.ini"), settings);
  EXPECT_FALSE(fs::exists(shortcut_));
  EXPECT_EQ(Query(kUninstallKey, "DisplayName"), std::nullopt);
  EXPECT_FALSE(fs::exists(programs_.DataDirectory())) << "the picture's copy and its folder";
  EXPECT_EQ(Query(kDesktopKey, "SCRNSAVE.EXE"), kOtherSaver);
  EXPECT_EQ(Query(kDesktopKey, "ScreenSaveActive"), "1");

  // Installed again and chosen, then uninstalled with the settings.
  ASSERT_EQ(Run(installer_, "/S"), 0);
  Uninstall("/S /REMOVESETTINGS");
  EXPECT_FALSE(fs::exists(folder_));
  EXPECT_EQ(Query(kDesktopKey, "SCRNSAVE.EXE"), std::nullopt);
  EXPECT_EQ(Query(kDesktopKey, "ScreenSaveActive"), "0");
}

// /NOSAVER installs all but the choice of saver: the one chosen before stays.
TEST_F(InstallerWineTest, NoSaverKeepsTheChosenSaver) {
  Set(kDesktopKey, "SCRNSAVE.EXE", kOtherSaver);
  Set(kDesktopKey, "ScreenSaveActive", "0");
  ASSERT_EQ(Run(installer_, "/S /NOSAVER"), 0);
  EXPECT_TRUE(fs::exists(folder_ + "/Orvane.scr"));
  EXPECT_EQ(Query(kDesktopKey, "SCRNSAVE.EXE"), kOtherSaver);
  EXPECT_EQ(Query(kDesktopKey, "ScreenSaveActive"), "0");
}

// The installer speaks the system's language: its caption in English on code page 1252, in
// Japanese on 932 (Wine takes both from the locale).
TEST_F(InstallerWineTest, TheCaptionFollowsTheSystemLanguage) {
  for (const auto& [locale, caption] :
       {std::pair{"C.UTF-8", "Setup"}, {"ja_JP.UTF-8", "セットアップ"}}) {
    Programs programs(Build::Windows, xvfb_, locale);
    ASSERT_TRUE(programs.ready());
    auto setup = programs.Start(installer_, {});
    const unsigned long window = programs.FindWindow("Orvane " + version_ + " .*", 60s);
    ASSERT_NE(window, 0u) << locale;
    // The caption may end in blanks.
    const std::string shown = programs.Xdotool("getwindowname " + std::to_string(window));
    EXPECT_EQ(shown.substr(0, shown.find_last_not_of(" \n") + 1),
              "Orvane " + version_ + " " + caption);
  }
}

}  // namespace
}  // namespace orvane
