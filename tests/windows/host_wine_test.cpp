// The Windows Orvane.scr under Wine, end to end, in the ANSI code pages 1252 and 932: a saver
// run with the real Orvane.dll, the two missing-file messages, the preview in a caller's
// window, and settings files passed between the Linux and the Windows builds. Each test has
// an Xvfb and a Wine prefix of its own; the prefix links the IPA fonts in for Japanese.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "host/Orvane_B.h"
#include "tests/support/child.h"
#include "tests/support/screenshot.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xvfb.h"
#include "tests/windows/wine_probe.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using namespace orvane::testing;

const std::string kBin = ORVANE_WINDOWS_BIN_DIR;
const std::string kPrograms = ORVANE_WINDOWS_TEST_PROGRAMS;

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : bytes) hex += {digits[c >> 4], digits[c & 15]};
  return hex;
}

class HostWineTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb_.running());
    for (const char* name : {"Orvane.scr", "Orvane.dll", "Orvane.image"})
      ASSERT_TRUE(std::filesystem::exists(kBin + "/" + name)) << "scripts/windows.sh builds it";
    ASSERT_EQ(Shell("wineboot -i >/dev/null 2>&1").first, 0);
    for (const std::string& command : JapaneseFontLinkCommands())
      ASSERT_EQ(Shell(command).first, 0) << command;
  }
  void TearDown() override {
    Shell("wineserver -k");
    Shell("wineserver -w");
  }

  std::vector<std::string> Environment() const {
    return {"DISPLAY=" + xvfb_.display(), "WINEPREFIX=" + prefix_.path(), "WINEDEBUG=-all",
            std::string("LANG=") + GetParam(), std::string("LC_ALL=") + GetParam()};
  }
  std::pair<int, std::string> Shell(const std::string& command) {
    std::string environment;
    for (const std::string& pair : Environment()) environment += "'" + pair + "' ";
    return RunShell("env " + environment + command + " 2>/dev/null");
  }
  // Windows sets no DISPLAY, and freeglut in the renderer would take one for a device name.
  std::unique_ptr<Child> Start(const std::string& program, const std::string& arguments) {
    return std::make_unique<Child>(
        std::vector<std::string>{"wine", "cmd", "/c",
                                 "set DISPLAY=&& " + WindowsPath(program) + " " + arguments},
        Environment());
  }
  std::string Xdotool(const std::string& arguments) {
    return RunShell("DISPLAY=" + xvfb_.display() + " xdotool " + arguments + " 2>/dev/null").second;
  }
  unsigned long FindWindow(const std::string& title, std::chrono::milliseconds timeout = 30s) {
    unsigned long window = 0;
    WaitFor(
        [&] {
          const std::string found = Xdotool("search --maxdepth 1 --name '^" + title + "$'");
          return (window = std::strtoul(found.c_str(), nullptr, 10)) != 0;
        },
        timeout, 100ms);
    return window;
  }
  // A program folder of the test's own with the given files of the Windows build, under a
  // name the ANSI code page cannot write ("ゲーム" on 1252, "Café" on 932), as a user's own
  // folder may be. (Where the ja_JP.UTF-8 locale is not installed, Wine reads the Unix name
  // as ASCII, and the 932 run sees another name.)
  std::string Folder(const std::vector<const char*>& names) {
    const std::string outside = std::string(GetParam()) == "C.UTF-8" ? "ゲーム" : "Café";
    const std::filesystem::path folder =
        std::filesystem::path(programs_.path()) / outside / "Orvane";
    std::filesystem::create_directories(folder);
    for (const char* name : names) std::filesystem::copy_file(kBin + "/" + name, folder / name);
    return folder.string();
  }

  Xvfb xvfb_;
  TempFolder prefix_;
  TempFolder programs_;
};

// /s, from a folder named outside the ANSI code page, copies the picture into C:\t_ovin and
// starts Orvane.dll, whose window the host watches;
// a second /s ends at once; Escape ends the renderer and, within the watch, the host.
TEST_P(HostWineTest, SaverRunsTheRendererUntilEscapeAndRefusesASecondSaver) {
  const std::string folder = Folder({"Orvane.scr", "Orvane.dll", "Orvane.image"});
  auto saver = Start(folder + "/Orvane.scr", "/s");
  const unsigned long window = FindWindow("Orvane_VC", 60s);
  ASSERT_NE(window, 0u) << saver->Stderr();
  EXPECT_EQ(ReadBytes(prefix_ / "drive_c/t_ovin/Orvane.image"),
            ReadBytes(folder + "/Orvane.image"));

  auto second = Start(folder + "/Orvane.scr", "/s");
  EXPECT_EQ(second->Wait(30s), 0);
  EXPECT_EQ(Xdotool("search --maxdepth 1 --name '^Orvane_VC$'"), std::to_string(window) + "\n")
      << "a second renderer";
  EXPECT_TRUE(saver->Running());

  // A key pressed before Wine has given the new window the focus is lost; it is pressed again.
  for (int attempt = 0; attempt < 3 && FindWindow("Orvane_VC", 1s) != 0; ++attempt) {
    Xdotool("key Escape");
    WaitFor([&] { return FindWindow("Orvane_VC", 1ms) == 0; }, 3s, 100ms);
  }
  EXPECT_EQ(saver->Wait(15s), 0) << "the host outlived its renderer";
  EXPECT_EQ(FindWindow("Orvane_VC", 1s), 0u);
}

// Each missing companion file gets its own box, captioned "Orvane (ScreenSaver)", in Japanese
// that shows as real glyphs on any code page; dismissing it ends the host.
TEST_P(HostWineTest, MissingFilesShowTheirJapaneseMessages) {
  const std::pair<std::vector<const char*>, std::string> cases[] = {
      {{"Orvane.scr", "Orvane.dll"}, "Orvane.image が同じﾌｫﾙﾀﾞに見つかりません！"},
      {{"Orvane.scr", "Orvane.image"}, "Orvane.dll が同じﾌｫﾙﾀﾞに見つかりません！"}};
  for (const auto& [files, text] : cases) {
    SCOPED_TRACE(text);
    std::filesystem::remove_all(programs_.path());
    const std::string folder = Folder(files);
    auto host = Start(folder + "/Orvane.scr", "/s");
    const unsigned long box = FindWindow("Orvane \\(ScreenSaver\\)");
    ASSERT_NE(box, 0u) << host->Stderr();
    EXPECT_EQ(Xdotool("getwindowname " + std::to_string(box)), "Orvane (ScreenSaver)\n");
    auto reader = std::make_unique<Child>(
        std::vector<std::string>{"wine", kPrograms + "/message_box_text.exe",
                                 "Orvane (ScreenSaver)"},
        Environment());
    EXPECT_EQ(reader->Wait(30s), 0);
    EXPECT_EQ(reader->Stdout(), text);

    const Screenshot shot = TakeScreenshot(xvfb_.display(), box);
    ASSERT_TRUE(shot.valid());
    // Twelve different Latin shapes and a dozen different Japanese ones; boxes would give one.
    const size_t glyphs = DistinctGlyphs(shot, shot.height);
    if (glyphs < 20) shot.SavePpm(::testing::TempDir() + "/orvane-wine-message.ppm");
    EXPECT_GE(glyphs, 20u) << "see orvane-wine-message.ppm in " << ::testing::TempDir();

    Xdotool("key Return");
    EXPECT_EQ(host->Wait(15s), 0);
    EXPECT_FALSE(std::filesystem::exists(prefix_ / "drive_c/t_ovin/Orvane.image"));
  }
}

// /p <handle> embeds the preview form as a child filling the caller's window from its top-left
// corner, and the host ends when the caller's window goes; a handle of no window ends it at once.
// (Wine does not draw a child window of another process into its parent's X window, so the
// picture itself is not seen here.)
TEST_P(HostWineTest, PreviewFillsTheCallersWindowAndEndsWithIt) {
  const std::string folder = Folder({"Orvane.scr"});
  for (const char* size : {"200 150", "100 80"}) {
    auto caller = Start(kPrograms + "/preview_caller.exe",
                        WindowsPath(folder + "/Orvane.scr") + " " + size + " 4000");
    EXPECT_EQ(caller->Wait(60s), 0);
    const std::string shown = std::string(size) == "200 150" ? "200x150" : "100x80";
    EXPECT_EQ(caller->Stdout(), "child Preview Window 0,0 " + shown + " visible\r\nended 0\r\n");
  }
  for (const char* handle : {"/p 0", "/p 12345", "/p"}) {
    auto preview = Start(folder + "/Orvane.scr", handle);
    EXPECT_EQ(preview->Wait(30s), 0) << handle << " left a preview without a caller";
  }
}

// The keys stay their code page 932 bytes both ways: a file the Linux build writes is read by
// Windows' GetPrivateProfileStringA, and one WritePrivateProfileStringA writes by the Linux build.
TEST_P(HostWineTest, SettingsFilesPassBetweenTheLinuxAndTheWindowsBuilds) {
  const std::string kind = "BGM\x8B\xE6\x95\xAA", repeat = "BGM\xD8\xCB\xDF\xB0\xC4",
                    file = "BGM\xCC\xA7\xB2\xD9";
  const std::string fromLinux = programs_ / "linux.ini";
  ASSERT_TRUE(WriteIni("Section", kind, "2", fromLinux));
  ASSERT_TRUE(WriteIni("Section", repeat, "12", fromLinux));
  ASSERT_TRUE(WriteIni("Section", file, "C:\\Music\\a b.mp3", fromLinux));
  const std::string tool = "wine '" + kPrograms + "/profile_tool.exe' ";
  const std::map<std::string, std::string> values = {
      {kind, "2"}, {repeat, "12"}, {file, "C:\\Music\\a b.mp3"}};
  for (const auto& [key, value] : values) {
    EXPECT_EQ(Shell(tool + "read '" + WindowsPath(fromLinux) + "' Section " + Hex(key)).second,
              value)
        << Hex(key);
  }

  const std::string fromWindows = programs_ / "windows.ini";
  for (const auto& [key, value] :
       std::vector<std::pair<std::string, std::string>>{{kind, "1"}, {repeat, "30"}, {file, ""}}) {
    ASSERT_EQ(Shell(tool + "write '" + WindowsPath(fromWindows) + "' Section " + Hex(key) + " '" +
                    Hex(value) + "'")
                  .first,
              0);
  }
  EXPECT_EQ(ReadBytes(fromWindows),
            "[Section]\r\n" + kind + "=1\r\n" + repeat + "=30\r\n" + file + "=\r\n");
  EXPECT_EQ(ReadIni("Section", kind, fromWindows), "1");
  EXPECT_EQ(ReadIni("Section", repeat, fromWindows), "30");

  // The program's own functions take the path in any characters (Wine reads file names in
  // this machine's ja_JP.UTF-8 as ASCII, so only 1252 is given one outside its code page), and
  // write and read the bytes the A forms do: the keys' and a value's high bytes as this code
  // page reads them.
  const std::string value = "C:\\\x89\xB9\x8A\x79\\a.mp3";
  const std::string fromA = programs_ / "a.ini";
  const std::filesystem::path folder = std::filesystem::path(programs_.path()) /
                                       (std::string(GetParam()) == "C.UTF-8" ? "ゲーム" : "plain");
  std::filesystem::create_directories(folder);
  const std::string ours = (folder / "ours.ini").string();
  for (const auto& [key, text] :
       std::vector<std::pair<std::string, std::string>>{{kind, "2"}, {file, value}}) {
    ASSERT_EQ(
        Shell(tool + "write '" + WindowsPath(fromA) + "' Section " + Hex(key) + " " + Hex(text))
            .first,
        0);
    ASSERT_EQ(Shell(tool + "ours-write " + Hex(WindowsPath(ours)) + " " + Hex("Section") + " " +
                    Hex(key) + " " + Hex(text))
                  .first,
              0);
    EXPECT_EQ(
        Shell(tool + "ours-read " + Hex(WindowsPath(ours)) + " " + Hex("Section") + " " + Hex(key))
            .second,
        text);
  }
  EXPECT_EQ(ReadBytes(ours), ReadBytes(fromA));
  EXPECT_EQ(ReadBytes(ours), "[Section]\r\n" + kind + "=2\r\n" + file + "=" + value + "\r\n");
}

// Wine takes its ANSI code page from the locale: C.UTF-8 gives 1252, ja_JP.UTF-8 gives 932.
INSTANTIATE_TEST_SUITE_P(CodePages, HostWineTest, ::testing::Values("C.UTF-8", "ja_JP.UTF-8"),
                         [](const auto& info) {
                           return std::string(info.param) == "C.UTF-8" ? "cp1252" : "cp932";
                         });

}  // namespace
}  // namespace orvane
