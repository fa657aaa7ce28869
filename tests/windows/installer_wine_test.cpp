#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <regex>
#include <set>

#include "tests/support/programs.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using namespace orvane::testing;
namespace fs = std::filesystem;

const std::string kBuild = ORVANE_WINDOWS_BUILD_DIR;
const std::string kDesktopKey = "HKCU\\Control Panel\\Desktop";
const std::string kUninstallKey =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvane";
const std::string kOtherSaver = "C:\\windows\\system32\\other.scr";

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  if (fs::is_directory(folder))
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

std::string Utf16(const std::string& ascii) {
  std::string wide;
  for (char c : ascii) wide += {c, '\0'};
  return wide;
}

class InstallerWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb_.running() && programs_.ready());
    ASSERT_TRUE(fs::exists(installer_)) << "scripts/windows.sh builds the installer";
    const std::string user = getpwuid(geteuid())->pw_name;  // Wine's name for the user
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
  std::optional<std::string> Query(const std::string& key, const std::string& value) {
    const auto [code, out] = programs_.Run("wine reg query '" + key + "' /v '" + value + "'");
    std::smatch match;
    if (code != 0 ||
        !std::regex_search(out, match, std::regex("    " + value + "    REG_[A-Z]+    ([^\r\n]*)")))
      return std::nullopt;
    return match[1].str();
  }
  // Wine's reg tool now and then fails to start while the previous program's server winds down.
  void Set(const std::string& key, const std::string& value, const std::string& data) {
    const std::string add = "wine reg add '" + key + "' /v '" + value + "' /d '" + data + "' /f";
    for (int attempt = 0; attempt < 3 && programs_.Run(add).first != 0; ++attempt)
      programs_.Run("wineserver -w");
  }

  Xvfb xvfb_;
  Programs programs_{Build::Windows, xvfb_};
  const std::string version_ = "1.0.0", installer_ = kBuild + "/Orvane-1.0.0-setup.exe";
  std::string folder_, windowsFolder_, shortcut_;
};

// The silent install puts the programs in the user's folder, the settings dialog in the Start
// menu, the entry in Apps & features, and makes Orvane the saver. An upgrade keeps Orvane.ini,
// and so does the uninstall, which takes the picture's copy and leaves a saver chosen after
// ours; /REMOVESETTINGS takes Orvane.ini and the folder too; /NOSAVER leaves the saver chosen.
// Its caption is English on code page 1252, Japanese on 932.
TEST_F(InstallerWineTest, InstallsUpgradesAndUninstallsForTheUser) {
  Set(kDesktopKey, "ScreenSaveActive", "0");
  ASSERT_EQ(Run(installer_, "/S"), 0);
  EXPECT_EQ(Names(folder_), (std::set<std::string>{"COPYING.txt", "NOTICES.txt", "Orvane.dll",
                                                   "Orvane.image", "Orvane.scr", "Uninstall.exe"}));
  // The version resource's string: the key and its NUL, padding to four bytes, the value.
  const std::string key = Utf16("FileVersion") + "\0\0"s, value = Utf16(version_);
  for (const char* name : {"Orvane.scr", "Orvane.dll"}) {
    const std::string program = ReadBytes(folder_ + "/" + name);
    EXPECT_TRUE(program.find(key + value) != std::string::npos ||
                program.find(key + "\0\0"s + value) != std::string::npos)
        << name;
  }
  // The Start menu's shortcut opens the settings: Orvane.scr /c.
  const std::string link = ReadBytes(shortcut_);
  EXPECT_TRUE(link.find(Utf16("Orvane.scr")) != link.npos && link.find(Utf16("/c")) != link.npos);

  EXPECT_EQ(Query(kUninstallKey, "DisplayName"), "Orvane");
  EXPECT_EQ(Query(kUninstallKey, "DisplayVersion"), version_);
  EXPECT_EQ(Query(kUninstallKey, "UninstallString"), "\"" + windowsFolder_ + "\\Uninstall.exe\"");
  EXPECT_EQ(Query(kDesktopKey, "SCRNSAVE.EXE"), windowsFolder_ + "\\Orvane.scr");
  EXPECT_EQ(Query(kDesktopKey, "ScreenSaveActive"), "1");

  // An upgrade over a damaged older version, after a saver run.
  const std::string settings = "[Section]\r\nBGM\x8B\xE6\x95\xAA=1\r\n";
  WriteBytes(folder_ + "/Orvane.ini", settings);
  WriteBytes(programs_.DataDirectory() + "/Orvane.image", "the saver's copy");
  WriteBytes(folder_ + "/Orvane.dll", "older");
  Set(kUninstallKey, "DisplayVersion", "0.9.0");
  ASSERT_EQ(Run(installer_, "/S"), 0);
  EXPECT_EQ(ReadBytes(folder_ + "/Orvane.dll"),
            ReadBytes(kBuild + "/package/Orvane-" + version_ + "/Orvane.dll"));
  EXPECT_EQ(Query(kUninstallKey, "DisplayVersion"), version_);
  EXPECT_EQ(ReadBytes(folder_ + "/Orvane.ini"), settings) << "the upgrade keeps the settings";

  // The user chooses another saver, then uninstalls as Apps & features does, by the Windows name.
  Set(kDesktopKey, "SCRNSAVE.EXE", kOtherSaver);
  ASSERT_EQ(Run(windowsFolder_ + "\\Uninstall.exe", "/S"), 0);
  EXPECT_EQ(Names(folder_), std::set<std::string>{"Orvane.ini"});
  EXPECT_EQ(ReadBytes(folder_ + "/Orvane.ini"), settings);
  EXPECT_FALSE(fs::exists(shortcut_));
  EXPECT_EQ(Query(kUninstallKey, "DisplayName"), std::nullopt);
  EXPECT_FALSE(fs::exists(programs_.DataDirectory())) << "the picture's copy and its folder";
  EXPECT_EQ(Query(kDesktopKey, "SCRNSAVE.EXE"), kOtherSaver);
  EXPECT_EQ(Query(kDesktopKey, "ScreenSaveActive"), "1");

  // Installed again and chosen, then uninstalled with the settings.
  ASSERT_EQ(Run(installer_, "/S"), 0);
  ASSERT_EQ(Run(windowsFolder_ + "\\Uninstall.exe", "/S /REMOVESETTINGS"), 0);
  EXPECT_FALSE(fs::exists(folder_));
  EXPECT_EQ(Query(kDesktopKey, "SCRNSAVE.EXE"), std::nullopt);
  EXPECT_EQ(Query(kDesktopKey, "ScreenSaveActive"), "0");

  Set(kDesktopKey, "SCRNSAVE.EXE", kOtherSaver);
  ASSERT_EQ(Run(installer_, "/S /NOSAVER"), 0);
  EXPECT_TRUE(fs::exists(folder_ + "/Orvane.scr"));
  EXPECT_EQ(Query(kDesktopKey, "SCRNSAVE.EXE"), kOtherSaver) << "/NOSAVER";
  EXPECT_EQ(Query(kDesktopKey, "ScreenSaveActive"), "0");

  // Started by hand, it speaks the system's language: Wine takes the code page from the locale.
  for (const auto& [locale, caption] :
       {std::pair{"C.UTF-8", "Setup"}, {"ja_JP.UTF-8", "セットアップ"}}) {
    Programs programs(Build::Windows, xvfb_, locale);
    auto setup = programs.Start(installer_, {});
    const unsigned long window = programs.FindWindow("Orvane " + version_ + " .*", 60s);
    ASSERT_TRUE(programs.ready() && window != 0) << locale;
    const std::string shown = programs.Xdotool("getwindowname " + std::to_string(window));
    EXPECT_EQ(shown.substr(0, shown.find_last_not_of(" \n") + 1),
              "Orvane " + version_ + " " + caption);
  }
}

}  // namespace
}  // namespace orvane
