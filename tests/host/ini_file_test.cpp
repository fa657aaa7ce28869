#include "platform/linux/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>

#include "host/Orvane_B.h"
#include "platform/atomic_file.h"
#include "tests/host/ini_cases.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// The three keys in code page 932, as Windows wrote them: "BGM区分", "BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ".
using testing::kFile;
using testing::kKind;
const std::string kRepeat = "BGM\xD8\xCB\xDF\xB0\xC4";
const std::string kWindowsFile =
    "[Section]\r\n" + kKind + "=2\r\n" + kFile + "=C:\\Music\\a.mp3\r\n";

// Every case of the table the Wine comparison reads: ours answers as Windows does, or as the
// table says ours does on purpose.
TEST(IniCases, OursReadAndWriteAsTheTableSays) {
  TempFolder folder;
  for (const testing::ReadCase& c : testing::kReads) {
    const std::string path = folder / "read.ini";
    std::filesystem::remove(path);
    if (c.file) WriteBytes(path, *c.file);
    EXPECT_EQ(ReadIni(c.section, c.key, path), c.ours.value_or(c.windows)) << c.what;
  }
  for (const testing::WriteCase& c : testing::kWrites) {
    const std::string path = folder / "write.ini";
    std::filesystem::remove(path);
    if (c.before) WriteBytes(path, *c.before);
    for (const auto& [section, key, value] : c.writes)
      EXPECT_TRUE(WriteIni(section, key, value, path)) << c.what;
    EXPECT_EQ(ReadBytes(path), c.ours.value_or(c.windows)) << c.what;
  }
}

// What the table cannot hold: names and values that cannot stand on one line, and values of
// every shape reading back as themselves.
TEST(IniUpdate, RefusesWhatCannotStandOnOneLineAndReadsEveryValueBack) {
  // What cannot stand on one line is refused.
  const char* refused[][3] = {{"S", "k", "a\nb"}, {"S", "k", "a\rb"}, {"S", "k=j", "v"},
                              {"S", ";k", "v"},   {"S", "", "v"},     {"Se]c", "k", "v"},
                              {"", "k", "v"}};
  for (auto [section, key, value] : refused)
    EXPECT_FALSE(IniUpdate("", section, key, value)) << section << "/" << key << "/" << value;
  // Every value reads back as itself, and a second write changes nothing.
  for (std::string value : {"", " lead", "trail\t", "\"q\"", "\"", "'a\"", "C:\\a;b=c"}) {
    const std::string file = IniUpdate("[Other]\nk=x\n", "Section", "k", value).value();
    EXPECT_EQ(IniLookup(file, "Section", "k"), value) << "[" << value << "]";
    EXPECT_EQ(IniUpdate(file, "Section", "k", value), file) << "[" << value << "]";
  }
}

class IniFiles : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string ini = folder / "Orvane.ini";
};

TEST_F(IniFiles, ReadsAndWritesWithTheLimitsKeepingTheModeAndTheLink) {
  EXPECT_EQ(ReadIni("Section", "k", ini), "") << "missing file";
  EXPECT_EQ(ReadIni("Section", "k", folder.path()), "") << "a folder";
  ASSERT_TRUE(WriteIni("Section", std::string(200, 'k'), "v", ini));
  ASSERT_TRUE(WriteIni("Section", "f", "/home/ユーザー/한국어 ✓.mp3", ini));
  EXPECT_EQ(ReadBytes(ini),
            "[Section]\r\n" + std::string(127, 'k') + "=v\r\nf=/home/ユーザー/한국어 ✓.mp3\r\n");
  std::filesystem::permissions(ini, std::filesystem::perms(0640));
  const std::string link = folder / "link.ini";
  std::filesystem::create_symlink(ini, link);
  ASSERT_TRUE(WriteIni("Section", "f", "0", link));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadIni("Section", "f", ini), "0");
  EXPECT_EQ(std::filesystem::status(ini).permissions(), std::filesystem::perms(0640));
  // A file no one may write is refused, root too, directly or through the link, and says why.
  std::filesystem::permissions(ini, std::filesystem::perms(0444));
  for (const std::string& path : {ini, link}) {
    std::string reason;
    EXPECT_FALSE(WriteIni("Section", "f", "1", path, &reason)) << path;
    EXPECT_EQ(reason, "Permission denied") << path;
  }
  EXPECT_EQ(ReadIni("Section", "f", ini), "0");
  EXPECT_EQ(std::filesystem::status(ini).permissions(), std::filesystem::perms(0444));
  std::filesystem::permissions(ini, std::filesystem::perms(0640));
  // A value holds a whole path, up to the 4095 bytes the system takes.
  WriteBytes(
      ini, "[Section]\r\nk=" + std::string(4096, 'v') + "\r\nj=" + std::string(4095, 'w') + "\r\n");
  EXPECT_EQ(ReadIni("Section", "k", ini), std::string(4095, 'v'));
  EXPECT_EQ(ReadIni("Section", "j", ini), std::string(4095, 'w'));
}

TEST_F(IniFiles, FailedOrInterruptedWriteLeavesTheOldFileAndNoTemporary) {
  EXPECT_FALSE(WriteIni("Section", "k", "1", folder / "missing/Orvane.ini"));
  // A file that cannot be read is not replaced: its keys would be lost.
  std::filesystem::create_directory(folder / "dir.ini");
  EXPECT_FALSE(WriteIni("Section", "k", "1", folder / "dir.ini"));
  std::filesystem::remove(folder / "dir.ini");
  WriteBytes(ini, kWindowsFile);
  EXPECT_FALSE(WriteFileAtomically(ini, "new", [&](const std::string& t) {
    EXPECT_EQ(ReadBytes(t), "new");
    EXPECT_EQ(std::filesystem::path(t).parent_path(), std::filesystem::path(folder.path()));
    return false;  // the process dies or the disk fills here
  }));
  EXPECT_EQ(ReadBytes(ini), kWindowsFile);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

// LoadSettings against an Orvane.ini in a host folder of the test's own.
class LoadSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetHostFolder(folder.path()); }
  void Load(const std::string& kind, const std::string& repeat, const std::string& file) {
    WriteBytes(SettingsPath(), "[Section]\r\n" + kKind + "=" + kind + "\r\n" + kRepeat + "=" +
                                   repeat + "\r\n" + kFile + "=" + file + "\r\n");
    BGM_Kind = BGM_RepeatTrack = 7;  // every variable is set, whatever it held
    BGM_File = BGM_Folder = "stale";
    LoadSettings();
  }
  TempFolder folder;
  std::string music = folder / "song.mp3";
};

TEST_F(LoadSettingsTest, NumbersAreTakenTowardsMinusInfinityWithinSixteenBits) {
  const std::pair<const char*, int> cases[] = {
      {"2.9", 2},      {"-0.5", -1}, {" 3 ", 3}, {"1e1", 10}, {"32767.9", 32767}, {"40000", 0},
      {"-32768.5", 0}, {"2abc", 0},  {"", 0},    {"0x10", 0}, {"1e999", 0}};
  for (auto [text, value] : cases) {
    Load("1", text, "");
    EXPECT_EQ(BGM_RepeatTrack, value) << "[" << text << "]";
  }
}

TEST_F(LoadSettingsTest, KindAndFileFallBackToNoMusic) {
  WriteBytes(music, "ID3");
  // A path of well over the 255 a Windows profile read gives back.
  std::filesystem::create_directory(folder / std::string(85, 'x'));
  const std::string longPath =
      folder / (std::string(85, 'x') + "/" + "音楽" + std::string(88, 'y') +
                "朝の歌をもう一度だけ聴きたい曲の名前です" + ".mp3");
  ASSERT_GT(longPath.size(), 255u);
  WriteBytes(longPath, "ID3");
  Load("2", "0", longPath);
  EXPECT_EQ(std::tuple(BGM_Kind, BGM_File), std::tuple(2, longPath));
  // The file chooser starts in the file's folder; without a file it is left to the dialog.
  const std::tuple<std::string, std::string, int, std::string, std::string> cases[] = {
      {"2", music, 2, music, folder.path()},
      {"2", music + "\\", 2, music + "\\", folder.path()},  // tested without the separator
      {"2", folder / "gone.wav", 0, "", ""},
      {"1", "", 1, "", ""}};  // CD needs no file
  for (const auto& [kind, file, expectedKind, expectedFile, expectedFolder] : cases) {
    Load(kind, "0", file);
    EXPECT_EQ(std::tuple(BGM_Kind, BGM_File, BGM_Folder),
              std::tuple(expectedKind, expectedFile, expectedFolder))
        << file;
  }
}

TEST_F(IniFiles, FileExistsOnlyForReadableFiles) {
  WriteBytes(folder / "a", "x");
  ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);  // opening it would block
  for (const std::string& path : {folder / "a", folder / "a\\", folder / "a/"})
    EXPECT_TRUE(FileExists(path)) << path;
  for (const std::string& path : {folder / "a//", folder.path(), std::string(), folder / "fifo",
                                  std::string("\0", 1) + folder.path()}) {
    EXPECT_FALSE(FileExists(path)) << path;
  }
}

TEST(FolderOf, CutsAtTheLastSeparator) {
  const std::pair<std::string, std::string> cases[] = {{"C:\\Music\\a.mp3", "C:\\Music"},
                                                       {"C:a.mp3", "C:"},
                                                       {"a.mp3", ""},
                                                       {"/home/u/a:b\\c.mp3", "/home/u"},
                                                       {"/a.mp3", "/"}};
  for (auto [path, folder] : cases) EXPECT_EQ(FolderOf(path), folder) << path;
}

}  // namespace
}  // namespace orvane
