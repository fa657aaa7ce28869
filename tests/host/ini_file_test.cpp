#include "platform/linux/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/Orvane_B.h"
#include "tests/host/ini_cases.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
namespace fs = std::filesystem;

// The table of cases, answered as Windows does or as ours does on purpose.
TEST(IniCases, OursAnswerAsTheTableSays) {
  TempFolder folder;
  for (const testing::ReadCase& c : testing::kReads) {
    fs::remove(folder / "read.ini");
    if (c.file) WriteBytes(folder / "read.ini", *c.file);
    EXPECT_EQ(ReadIni(c.section, c.key, folder / "read.ini"), c.ours.value_or(c.windows)) << c.what;
  }
  for (const testing::WriteCase& c : testing::kWrites) {
    fs::remove(folder / "write.ini");
    if (c.before) WriteBytes(folder / "write.ini", *c.before);
    EXPECT_TRUE(WriteIni(c.section, c.key, c.value, folder / "write.ini")) << c.what;
    EXPECT_EQ(ReadBytes(folder / "write.ini"), c.ours.value_or(c.windows)) << c.what;
  }
  // What cannot stand on one line is refused.
  const char* refused[][3] = {{"S", "k", "a\nb"},
                              {"S", "k", "a\rb"},
                              {"S", "k=j", "v"},
                              {"S", ";k", "v"},
                              {"Se]c", "k", "v"}};
  for (auto [section, key, value] : refused)
    EXPECT_FALSE(IniUpdate("", section, key, value)) << section << "/" << key << "/" << value;
}

// Key names are cut at 127 bytes; the mode and a link stay; a file no one may write, or that
// cannot be read (its keys would be lost), is refused, root too.
TEST(IniFiles, ReadsAndWritesWithTheLimitsKeepingTheModeAndTheLink) {
  TempFolder folder;
  const std::string ini = folder / "Orvane.ini", link = folder / "link.ini";
  ASSERT_TRUE(WriteIni("Section", std::string(200, 'k'), "/home/ユーザー/한국어 ✓.mp3", ini));
  fs::permissions(ini, fs::perms(0640));
  fs::create_symlink(ini, link);
  ASSERT_TRUE(WriteIni("Section", "f", "0", link));
  EXPECT_EQ(ReadBytes(ini),
            "[Section]\r\n" + std::string(127, 'k') + "=/home/ユーザー/한국어 ✓.mp3\r\nf=0\r\n");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::status(ini).permissions(), fs::perms(0640));
  fs::permissions(ini, fs::perms(0444));
  std::string reason;
  EXPECT_FALSE(WriteIni("Section", "f", "1", link, &reason));
  EXPECT_EQ(reason, "Permission denied");
  EXPECT_FALSE(WriteIni("Section", "k", "1", folder / "missing/Orvane.ini"));
  EXPECT_FALSE(WriteIni("Section", "k", "1", folder.path()));
}

}  // namespace
}  // namespace orvane
