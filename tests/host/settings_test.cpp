#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "host/Orvane_B.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

// LoadSettings against an Orvane.ini in a host folder of the test's own.
class LoadSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetHostFolder(folder.path()); }
  void Load(const std::string& kind, const std::string& repeat, const std::string& file) {
    WriteBytes(SettingsPath(), "[Section]\r\n" + std::string(IniKeyKind) + "=" + kind + "\r\n" +
                                   std::string(IniKeyRepeatTrack) + "=" + repeat + "\r\n" +
                                   std::string(IniKeyFile) + "=" + file + "\r\n");
    BGM_Kind = BGM_RepeatTrack = 7;  // every variable is set, whatever it held
    BGM_File = BGM_Folder = "stale";
    LoadSettings();
  }
  TempFolder folder;
  std::string music = folder / "song.mp3";
};

TEST_F(LoadSettingsTest, NumbersAreTakenTowardsMinusInfinityWithinSixteenBits) {
  const std::pair<const char*, int> cases[] = {
      {"2.9", 2},   {"-0.5", -1},    {" 3 ", 3},  {"1e1", 10}, {"32767.9", 32767},
      {"40000", 0}, {"-32768.5", 0}, {"2abc", 0}, {"", 0},     {"nan", 0},
      {"0x10", 0},  {"- 1", 0},      {"1e999", 0}};
  for (auto [text, value] : cases) {
    Load("1", text, "");
    EXPECT_EQ(BGM_RepeatTrack, value) << "[" << text << "]";
  }
}

TEST_F(LoadSettingsTest, KindAndFileFallBackToNoMusic) {
  WriteBytes(music, "ID3");
  std::filesystem::create_directory(folder / "music");
  const struct {
    std::string kind, file;
    int expectedKind;
    std::string expectedFile;
  } cases[] = {
      {"2", music, 2, music},
      {"2", music + "\\", 2, music + "\\"},  // tested without the separator, kept with it
      {"2", folder / "gone.wav", 0, ""},
      {"2", "", 0, ""},
      {"2", folder / "music", 0, ""},
      {"2", folder.path() + "/" + std::string(300, 'x') + ".mp3", 0, ""},  // cut, then gone
      {"1", "", 1, ""},                                                    // CD needs no file
      {"5", "", 5, ""}};
  for (const auto& c : cases) {
    Load(c.kind, "0", c.file);
    EXPECT_EQ(BGM_Kind, c.expectedKind) << c.file;
    EXPECT_EQ(BGM_File, c.expectedFile) << c.file;
    EXPECT_EQ(BGM_Folder, folder.path()) << c.file;
  }
}

TEST(FileExists, OnlyReadableFilesCount) {
  TempFolder folder;
  WriteBytes(folder / "a", "x");
  ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);  // opening it would block
  for (const std::string& path : {folder / "a", folder / "a\\", folder / "a/"}) {
    EXPECT_TRUE(FileExists(path)) << path;
  }
  for (const std::string& path : {folder / "a//", folder.path(), std::string(), folder / "fifo",
                                  std::string("\0", 1) + folder.path()}) {
    EXPECT_FALSE(FileExists(path)) << path;
  }
}

TEST(FolderOf, CutsAtTheLastSeparator) {
  const std::pair<const char*, const char*> cases[] = {{"C:\\Music\\a.mp3", "C:\\Music"},
                                                       {"C:\\a.mp3", "C:"},
                                                       {"C:a.mp3", "C:"},
                                                       {"a.mp3", ""},
                                                       {"/home/u/a.mp3", "/home/u"},
                                                       {"/home/u/a:b\\c.mp3", "/home/u"},
                                                       {"/a.mp3", "/"}};
  for (auto [path, folder] : cases) EXPECT_EQ(FolderOf(path), folder) << path;
}

}  // namespace
}  // namespace orvane
