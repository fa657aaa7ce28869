#include <gtest/gtest.h>

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
  void SetUp() override {
    SetHostFolder(folder.path());
    BGM_Kind = 7;  // LoadSettings must set every variable, whatever they held
    BGM_RepeatTrack = 7;
    BGM_File = "stale";
    BGM_Folder = "stale";
  }
  void Settings(const std::string& kind, const std::string& repeat, const std::string& file) {
    WriteBytes(SettingsPath(), "[Section]\r\n" + std::string(IniKeyKind) + "=" + kind + "\r\n" +
                                   std::string(IniKeyRepeatTrack) + "=" + repeat + "\r\n" +
                                   std::string(IniKeyFile) + "=" + file + "\r\n");
  }
  std::string Music(const std::string& name) {
    const std::string path = folder / name;
    WriteBytes(path, "ID3");
    return path;
  }

  TempFolder folder;
};

TEST_F(LoadSettingsTest, NoFileMeansNoMusicAndTheHostFolder) {
  LoadSettings();
  EXPECT_EQ(BGM_Kind, 0);
  EXPECT_EQ(BGM_RepeatTrack, 0);
  EXPECT_EQ(BGM_File, "");
  EXPECT_EQ(BGM_Folder, folder.path());
}

TEST_F(LoadSettingsTest, ReadsAMusicFileThatExists) {
  const std::string music = Music("song.mp3");
  Settings("2", "12", music);
  LoadSettings();
  EXPECT_EQ(BGM_Kind, 2);
  EXPECT_EQ(BGM_RepeatTrack, 12);
  EXPECT_EQ(BGM_File, music);
  EXPECT_EQ(BGM_Folder, folder.path());
}

TEST_F(LoadSettingsTest, NumbersAreTakenTowardsMinusInfinity) {
  const struct {
    const char* text;
    std::int16_t value;
  } cases[] = {{"2.9", 2},   {"-0.5", -1},     {" 3 ", 3},         {"+4", 4},
               {"1e1", 10},  {"32767", 32767}, {"-32768", -32768}, {"32767.9", 32767},
               {"40000", 0}, {"-32768.5", 0},  {"abc", 0},         {"2abc", 0},
               {"", 0},      {".", 0},         {"inf", 0},         {"nan", 0},
               {"0x10", 0},  {"1e", 0},        {"- 1", 0},         {"1e999", 0}};
  for (const auto& c : cases) {
    Settings(c.text, c.text, "");
    LoadSettings();
    EXPECT_EQ(BGM_RepeatTrack, c.value) << "[" << c.text << "]";
  }
}

TEST_F(LoadSettingsTest, DeletedMusicFileFallsBackToNoMusic) {
  const std::string music = Music("gone.wav");
  Settings("2", "0", music);
  std::filesystem::remove(music);
  const std::string before = testing::ReadBytes(SettingsPath());
  LoadSettings();
  EXPECT_EQ(BGM_Kind, 0);
  EXPECT_EQ(BGM_File, "");
  EXPECT_EQ(BGM_Folder, folder.path());
  EXPECT_EQ(testing::ReadBytes(SettingsPath()), before) << "the file is left as it was";
}

TEST_F(LoadSettingsTest, CdNeedsNoFile) {
  Settings("1", "3", "");
  LoadSettings();
  EXPECT_EQ(BGM_Kind, 1);
  EXPECT_EQ(BGM_RepeatTrack, 3);
  EXPECT_EQ(BGM_File, "");
}

TEST_F(LoadSettingsTest, MusicKindWithEmptyFileFallsBack) {
  Settings("2", "0", "");
  LoadSettings();
  EXPECT_EQ(BGM_Kind, 0);
}

TEST_F(LoadSettingsTest, OtherKindsStayAsRead) {
  Settings("5", "0", "");
  LoadSettings();
  EXPECT_EQ(BGM_Kind, 5);
}

TEST_F(LoadSettingsTest, TrailingSeparatorIsTestedWithoutItButKept) {
  const std::string music = Music("song.mp3");
  Settings("2", "0", music + "\\");
  LoadSettings();
  EXPECT_EQ(BGM_Kind, 2);
  EXPECT_EQ(BGM_File, music + "\\");
  Settings("2", "0", music + "/");
  LoadSettings();
  EXPECT_EQ(BGM_File, music + "/");
}

TEST_F(LoadSettingsTest, AFolderIsNoMusicFile) {
  std::filesystem::create_directory(folder / "music");
  Settings("2", "0", folder / "music");
  LoadSettings();
  EXPECT_EQ(BGM_Kind, 0);
  EXPECT_EQ(BGM_File, "");
}

TEST_F(LoadSettingsTest, OverlongPathIsCutAndThenCleared) {
  Settings("2", "0", folder.path() + "/" + std::string(300, 'x') + ".mp3");
  LoadSettings();
  EXPECT_EQ(BGM_Kind, 0);
  EXPECT_EQ(BGM_File, "");
}

TEST(FileExists, OnlyReadableFilesCount) {
  TempFolder folder;
  WriteBytes(folder / "a", "x");
  EXPECT_TRUE(FileExists(folder / "a"));
  EXPECT_TRUE(FileExists(folder / "a\\"));
  EXPECT_TRUE(FileExists(folder / "a/"));
  EXPECT_FALSE(FileExists(folder / "a//"));
  EXPECT_FALSE(FileExists(folder.path()));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists(folder / "missing"));
  EXPECT_FALSE(FileExists(std::string("\0", 1) + folder.path()));
  // A FIFO would block an open for reading; it is no file.
  ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
  EXPECT_FALSE(FileExists(folder / "fifo"));
}

TEST(FolderOf, CutsAtTheLastSeparator) {
  EXPECT_EQ(FolderOf("C:\\Music\\a.mp3"), "C:\\Music");
  EXPECT_EQ(FolderOf("C:\\a.mp3"), "C:");
  EXPECT_EQ(FolderOf("C:a.mp3"), "C:");
  EXPECT_EQ(FolderOf("a.mp3"), "");
  EXPECT_EQ(FolderOf(""), "");
  EXPECT_EQ(FolderOf("C:\\Music\\"), "C:\\Music");
  EXPECT_EQ(FolderOf("\\\\server\\share\\a.mp3"), "\\\\server\\share");
  EXPECT_EQ(FolderOf("/home/u/a.mp3"), "/home/u");
  EXPECT_EQ(FolderOf("/home/u/a:b\\c.mp3"), "/home/u");
  EXPECT_EQ(FolderOf("/a.mp3"), "/");
  EXPECT_EQ(FolderOf("music/a.mp3"), "music");
}

}  // namespace
}  // namespace orvane
