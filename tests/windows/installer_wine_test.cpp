// The Windows installer (Orvane-VERSION-setup.exe, built by scripts/windows_installer.sh) under
// Wine as a user and an administrator meet it: the silent install into the user's own folders,
// the saver it sets running from there with its music, an upgrade, the uninstall, the
// /NOSAVER and /REMOVESETTINGS switches, and its texts in code pages 1252 and 932. Each test
// has an Xvfb and a fresh Wine prefix of its own; Wine's menu builder is off, so that nothing
// is written outside the prefix.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <regex>
#include <set>
#include <thread>

#include "tests/mci/media_files.h"
#include "tests/support/child.h"
#include "tests/support/pulse.h"
#include "tests/support/screenshot.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xvfb.h"
#include "tests/windows/wine_probe.h"

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

std::string Utf16(const std::string& ascii) {
  std::string wide;
  for (char c : ascii) wide += {c, '\0'};
  return wide;
}

// A program's version resource holds the string value under the key: the key, its closing
// NUL, padding to four bytes and the value, all UTF-16.
bool HasVersionValue(const std::string& program, const std::string& key, const std::string& value) {
  for (std::size_t at = program.find(Utf16(key) + std::string(2, '\0')); at != std::string::npos;
       at = program.find(Utf16(key) + std::string(2, '\0'), at + 1)) {
    const std::size_t end = at + 2 * key.size() + 2;
    const std::size_t aligned = (end + 3) / 4 * 4;
    if (program.compare(aligned, 2 * value.size() + 2, Utf16(value) + std::string(2, '\0')) == 0)
      return true;
  }
  return false;
}

// Every picture of an icon file (ICONDIR, then a 16-byte entry each with its size at 8 and its
// offset at 12) lies whole in a program that carries the icon.
bool HasIcon(const std::string& program, const std::string& ico) {
  const auto word = [&](std::size_t at, int bytes) {
    std::size_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | std::uint8_t(ico.at(at + i));
    return value;
  };
  if (ico.size() < 6 || word(4, 2) == 0) return false;
  for (std::size_t i = 0; i < word(4, 2); ++i) {
    const std::size_t entry = 6 + 16 * i;
    if (program.find(ico.substr(word(entry + 12, 4), word(entry + 8, 4))) == std::string::npos)
      return false;
  }
  return true;
}

class InstallerWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb_.running());
    std::tie(installer_, version_) = FindInstaller();
    ASSERT_FALSE(installer_.empty()) << "scripts/windows.sh builds the installer in " << kBuild;
    ASSERT_EQ(Shell("wineboot -i >/dev/null 2>&1").first, 0);
    for (const std::string& command : JapaneseFontLinkCommands())
      ASSERT_EQ(Shell(command).first, 0) << command;
    // The prefix's user folder is named after the user running Wine.
    for (const std::string& name : Names(prefix_ / "drive_c/users"))
      if (name != "Public") user_ = name;
    ASSERT_FALSE(user_.empty());
    folder_ = prefix_ / ("drive_c/users/" + user_ + "/AppData/Local/Programs/Orvane");
    windowsFolder_ = "C:\\users\\" + user_ + "\\AppData\\Local\\Programs\\Orvane";
    shortcut_ = prefix_ / ("drive_c/users/" + user_ +
                           "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Orvane.lnk");
  }
  void TearDown() override {
    Shell("wineserver -k");
    Shell("wineserver -w");
  }

  std::vector<std::string> Environment() const {
    return {"DISPLAY=" + xvfb_.display(),
            "WINEPREFIX=" + prefix_.path(),
            "WINEDEBUG=-all",
            "WINEDLLOVERRIDES=winemenubuilder.exe=d",
            "LANG=" + locale_,
            "LC_ALL=" + locale_};
  }
  std::pair<int, std::string> Shell(const std::string& command) {
    std::string environment;
    for (const std::string& pair : Environment()) environment += "'" + pair + "' ";
    return RunShell("env " + environment + command + " 2>/dev/null");
  }
  // Runs a Windows program to its end and waits for all it started (the uninstaller runs on
  // from a copy of itself in %TEMP%).
  int Run(const std::string& program, const std::string& arguments) {
    const int code = Shell("wine '" + program + "' " + arguments).first;
    Shell("wineserver -w");
    return code;
  }
  void Uninstall(const std::string& arguments) {
    // As Apps & features starts it: by its Windows name on drive C:.
    ASSERT_EQ(Run(windowsFolder_ + "\\Uninstall.exe", arguments), 0);
  }
  // A file of the program folder the installer packs.
  std::string Packed(const std::string& name) const {
    return kBuild + "/package/Orvane-" + version_ + "/" + name;
  }
  std::optional<std::string> Query(const std::string& key, const std::string& value) {
    const auto [code, out] = Shell("wine reg query '" + key + "' /v '" + value + "'");
    const std::regex line("    " + std::regex_replace(value, std::regex("\\."), "\\.") +
                          "    REG_[A-Z]+    ([^\r\n]*)");
    std::smatch match;
    if (code != 0 || !std::regex_search(out, match, line)) return std::nullopt;
    return match[1].str();
  }
  void Set(const std::string& key, const std::string& value, const std::string& data) {
    ASSERT_EQ(Shell("wine reg add '" + key + "' /v '" + value + "' /d '" + data + "' /f").first, 0);
  }
  bool KeyExists(const std::string& key) {
    return Shell("wine reg query '" + key + "'").first == 0;
  }
  std::string Xdotool(const std::string& arguments) {
    return RunShell("DISPLAY=" + xvfb_.display() + " xdotool " + arguments + " 2>/dev/null").second;
  }
  unsigned long FindWindow(const std::string& title, std::chrono::milliseconds timeout = 60s) {
    unsigned long window = 0;
    WaitFor(
        [&] {
          const std::string found =
              Xdotool("search --onlyvisible --maxdepth 1 --name '" + title + "'");
          return (window = std::strtoul(found.c_str(), nullptr, 10)) != 0;
        },
        timeout, 100ms);
    return window;
  }

  std::string locale_ = "C.UTF-8";
  Xvfb xvfb_;
  TempFolder prefix_;
  TempFolder music_;
  std::string installer_, version_, user_, folder_, windowsFolder_, shortcut_;
};

// The silent install puts the programs, the texts and the uninstaller in the user's programs
// folder, the settings dialog in the Start menu, the entry in Apps & features, and makes
// Orvane the saver, which then runs from there with the chosen music. An upgrade replaces
// the programs and keeps Orvane.ini; the uninstall takes all of ours but Orvane.ini and leaves
// a saver chosen after ours; /REMOVESETTINGS takes Orvane.ini and the folder too.
TEST_F(InstallerWineTest, InstallsRunsUpgradesAndUninstallsForTheUser) {
  Set(kDesktopKey, "ScreenSaveActive", "0");
  ASSERT_EQ(Run(installer_, "/S"), 0);
  EXPECT_EQ(Names(folder_), (std::set<std::string>{"COPYING.txt", "NOTICES.txt", "Orvane.dll",
                                                   "Orvane.image", "Orvane.scr", "Uninstall.exe"}));
  EXPECT_EQ(ReadBytes(folder_ + "/Orvane.scr"), ReadBytes(Packed("Orvane.scr")));
  // What Windows shows of the programs: the icon drawn from the menu icon, and the version.
  for (const auto& [name, description] :
       {std::pair{"Orvane.scr", "Orvane screen saver"}, {"Orvane.dll", "Orvane tunnel renderer"}}) {
    SCOPED_TRACE(name);
    const std::string program = ReadBytes(folder_ + "/" + name);
    EXPECT_TRUE(HasIcon(program, ReadBytes(kBuild + "/generated/orvane.ico")));
    EXPECT_TRUE(HasVersionValue(program, "FileVersion", version_));
    EXPECT_TRUE(HasVersionValue(program, "ProductName", "Orvane"));
    EXPECT_TRUE(HasVersionValue(program, "OriginalFilename", name));
    EXPECT_TRUE(HasVersionValue(program, "FileDescription", description));
  }
  EXPECT_NE(ReadBytes(folder_ + "/COPYING.txt").find("GNU GENERAL PUBLIC LICENSE\r\n"),
            std::string::npos);
  for (const char* notice : {"freeglut", "mingw-w64"})
    EXPECT_NE(ReadBytes(folder_ + "/NOTICES.txt").find(notice), std::string::npos) << notice;

  // The shortcut's target and, as a counted UTF-16 text, its arguments (Wine counts the
  // closing NUL too).
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
  EXPECT_EQ(Query(kUninstallKey, "Publisher"), "Orvane developers");
  EXPECT_EQ(Query(kUninstallKey, "DisplayIcon"), scr + ",0");
  EXPECT_EQ(Query(kUninstallKey, "URLInfoAbout"), "https://orvane.org/");
  EXPECT_EQ(Query(kUninstallKey, "UninstallString"), "\"" + windowsFolder_ + "\\Uninstall.exe\"");
  EXPECT_EQ(Query(kDesktopKey, "SCRNSAVE.EXE"), scr);
  EXPECT_EQ(Query(kDesktopKey, "ScreenSaveActive"), "1");

  // The saver from the installed folder: the tunnel, and the WAV on the null sink.
  const std::string wav = music_ / "tone.wav";
  WriteWav(wav, 1.0, 880);
  const std::string settings =
      "[Section]\r\nBGM\x8B\xE6\x95\xAA=2\r\nBGM\xD8\xCB\xDF\xB0\xC4=0\r\n"
      "BGM\xCC\xA7\xB2\xD9=" +
      WindowsPath(wav) + "\r\n";
  WriteBytes(folder_ + "/Orvane.ini", settings);
  {
    PulseServer sound;
    ASSERT_TRUE(sound.running()) << "pulseaudio did not start";
    PulseRecorder heard(sound);
    ASSERT_TRUE(heard.running());
    const std::size_t before = heard.Mark();
    std::vector<std::string> env = Environment();
    for (const std::string& pair : sound.env()) env.push_back(pair);
    // Windows sets no DISPLAY, and freeglut in the renderer would take one for a device name.
    Child saver({"wine", "cmd", "/c", "set DISPLAY=&& " + scr + " /s"}, env);
    const unsigned long window = FindWindow("^Orvane_VC$");
    ASSERT_NE(window, 0u) << saver.Stderr();
    // The far end lies in the yellow fog; the near walls show the picture.
    Screenshot shot;
    const bool tunnel = WaitFor(
        [&] {
          shot = TakeScreenshot(xvfb_.display(), window);
          return shot.width == 1024 && Near(shot.at(512, 384), {153, 153, 0}, 25) &&
                 !Near(shot.at(10, 384), {153, 153, 0}, 40);
        },
        20s, 50ms);
    if (!tunnel && shot.valid()) shot.SavePpm(::testing::TempDir() + "/orvane-installed-saver.ppm");
    EXPECT_TRUE(tunnel) << "see orvane-installed-saver.ppm in " << ::testing::TempDir();
    EXPECT_TRUE(heard.HeardSince(before, 20s)) << "the chosen WAV plays";
    Xdotool("key Escape");
    EXPECT_EQ(saver.Wait(20s), 0);
  }
  EXPECT_TRUE(fs::exists(prefix_ / "drive_c/t_ovin/Orvane.image"));

  // An upgrade over a damaged older version.
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
  EXPECT_FALSE(KeyExists(kUninstallKey));
  EXPECT_FALSE(fs::exists(prefix_ / "drive_c/t_ovin")) << "the picture's copy and its folder";
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

// A part of a screenshot.
Screenshot Crop(const Screenshot& shot, int left, int top, int width, int height) {
  Screenshot part;
  if (left + width > shot.width || top + height > shot.height) return part;
  part.width = width;
  part.height = height;
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x) part.pixels.push_back(shot.at(x, y));
  return part;
}

struct Language {
  const char* locale;
  const char* caption;  // after "Orvane VERSION "
  size_t heading;       // different shapes in the first page's heading at least
  size_t choice;        // and in the choice "Use Orvane as the screen saver"
};

void PrintTo(const Language& language, std::ostream* out) {
  *out << language.locale;
}

class InstallerLanguageTest : public InstallerWineTest,
                              public ::testing::WithParamInterface<Language> {
 protected:
  InstallerLanguageTest() { locale_ = GetParam().locale; }
};

// The installer speaks the system's language: its caption, the first page's heading, and on
// the second page (after Enter, "I Agree") the choice of saver, drawn in real glyphs:
// missing-glyph boxes all look alike.
TEST_P(InstallerLanguageTest, TheInterfaceFollowsTheSystemLanguage) {
  const Language& row = GetParam();
  Child setup({"wine", installer_}, Environment());
  const unsigned long window = FindWindow("^Orvane ");
  ASSERT_NE(window, 0u) << setup.Stderr();
  const std::string caption = Xdotool("getwindowname " + std::to_string(window));
  EXPECT_EQ(caption.substr(0, caption.find_last_not_of(" \n") + 1),
            "Orvane " + version_ + " " + row.caption);
  const auto shoot = [&] {
    std::this_thread::sleep_for(1s);
    return TakeScreenshot(xvfb_.display(), window);
  };
  const auto glyphs = [&](const Screenshot& part, const char* file) {
    if (!part.valid()) return size_t{0};
    part.SavePpm(::testing::TempDir() + "/" + file);
    return DistinctGlyphs(part, part.height);
  };
  // The heading, left of the icon.
  EXPECT_GE(glyphs(Crop(shoot(), 0, 0, 400, 40), "orvane-installer-heading.ppm"), row.heading)
      << "see orvane-installer-heading.ppm in " << ::testing::TempDir();

  // The choice of saver is the row below the first, highlighted one (the dialog's size
  // follows its font, so the row is found by the highlight: the topmost band of rows with
  // many pixels of its colour; the focused button's frame has it too, lower down).
  Xdotool("key --window " + std::to_string(window) + " Return");
  const Screenshot page = shoot();
  int left = page.width, top = -1, bottom = -1;
  for (int y = 0; y < page.height && (bottom < 0 || bottom == y - 1); ++y) {
    int first = -1, count = 0;
    for (int x = 0; x < page.width; ++x) {
      if (!Near(page.at(x, y), {0x30, 0x96, 0xFA}, 12)) continue;
      if (first < 0) first = x;
      ++count;
    }
    if (count < 20) continue;
    left = std::min(left, first);
    if (top < 0) top = y;
    bottom = y;
  }
  if (bottom <= top || bottom + 1 + (bottom - top + 3) > page.height)
    page.SavePpm(::testing::TempDir() + "/orvane-installer-page.ppm");
  ASSERT_GT(bottom, top) << "no highlighted first choice: see orvane-installer-page.ppm in "
                         << ::testing::TempDir();
  const int height = bottom - top + 3;
  EXPECT_GE(glyphs(Crop(page, left - 6, bottom + 1, page.width - left - 4, height),
                   "orvane-installer-choice.ppm"),
            row.choice)
      << "see orvane-installer-choice.ppm in " << ::testing::TempDir();
}

// Wine takes its ANSI code page and its language from the locale: C.UTF-8 gives 1252 and
// English, ja_JP.UTF-8 gives 932 and Japanese.
INSTANTIATE_TEST_SUITE_P(CodePages, InstallerLanguageTest,
                         ::testing::Values(Language{"C.UTF-8", "Setup", 9, 10},
                                           Language{"ja_JP.UTF-8", "セットアップ", 5, 12}),
                         [](const auto& info) {
                           return std::string(info.param.locale) == "C.UTF-8" ? "cp1252" : "cp932";
                         });

}  // namespace
}  // namespace orvane
