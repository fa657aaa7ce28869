// Our INI model reads a file as Windows' profile functions do and writes keeping every other byte.
#include "platform/linux/ini_file.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "host/Orvane_B.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using testing::ReadBytes, testing::TempFolder, testing::WriteBytes;
namespace fs = std::filesystem;

// The keys in code page 932: "BGM区分" and "BGMﾌｧｲﾙ".
const std::string kKind = "BGM\x8B\xE6\x95\xAA", kFile = "BGM\xCC\xA7\xB2\xD9";

TEST(IniCases, ReadsAndWritesAsWindowsDoesExceptWhereOursMayDoBetter) {
  TempFolder folder;
  const struct {
    std::optional<std::string> file;  // nullopt: there is no file
    std::string section, key, value;
  } reads[] = {
      {"[Section]\r\n" + kKind + "=2\r\n" + kFile + "=C:\\\x89\xB9\x8A\x79\\a b\r\n", "Section",
       kFile, "C:\\\x89\xB9\x8A\x79\\a b"},
      {"[SECTION]\r\nbgm\x8B\xE6\x95\xAA=MiXeD\r\n", "section", kKind, "MiXeD"},
      {"  [  Section  ]  \r\n \t two words\t =   a  b \t\r\n", "Section", "two words", "a  b"},
      {"[Section]\r\nk=\"  in  \"\r\n", "Section", "k", "  in  "},
      {"[Section]\r\nk='\"q\"'\r\n", "Section", "k", "\"q\""},
      {"[Section]\r\n  ;k=hidden\r\n", "Section", ";k", ""},
      {"[Section]\r\njunk line\r\nk=a;b=c\r\n", "Section", "k", "a;b=c"},
      {"[Section]\r\na=1\r\n[O]\r\n[section]\r\na=2\r\nb=3\r\n", "Section", "b", ""},
      {"[Section]\r\nk=first\r\nK=second\r\n", "Section", "k", "first"},
      {"[Section]\rk=cr\rj=2\r", "Section", "j", "2"},
      {"[Section]\nk=lf\n", "Section", "k", "lf"},
      {"[Section]\r\nk=last", "Section", "k", "last"},
      {std::nullopt, "Section", "k", ""},
      // Windows stops at 255 bytes and reads a byte order mark as part of the first line.
      {"[Section]\r\nk=" + std::string(300, 'v') + "\r\n", "Section", "k", std::string(300, 'v')},
      {"\xEF\xBB\xBF[Section]\r\nk=1\r\n", "Section", "k", "1"},
  };
  for (const auto& c : reads) {
    fs::remove(folder / "read.ini");
    if (c.file) WriteBytes(folder / "read.ini", *c.file);
    EXPECT_EQ(ReadIni(c.section, c.key, folder / "read.ini"), c.value) << c.file.value_or("");
  }
  const struct {
    std::optional<std::string> before;
    std::string section, key, value, after;
  } writes[] = {
      {std::nullopt, "Section", kKind, "2", "[Section]\r\n" + kKind + "=2\r\n"},
      {"[App1]\r\nk=1\r\n[App2]\r\nk=2\r\n", "App1", "e", "",
       "[App1]\r\nk=1\r\ne=\r\n[App2]\r\nk=2\r\n"},
      {"[SECTION]\r\nBGM=old\r\nx=1\r\n", "Section", "bgm", "new",
       "[SECTION]\r\nBGM=new\r\nx=1\r\n"},
      {"[Other]\r\nx=1\r\n", "Section", "k", "v", "[Other]\r\nx=1\r\n[Section]\r\nk=v\r\n"},
      {"[Section]\r\nk=1\r\n[Section]\r\nk=2\r\n", "Section", "K", "3",
       "[Section]\r\nk=3\r\n[Section]\r\nk=2\r\n"},
      {"[Section]\r\nc=1", "Section", "c", "2", "[Section]\r\nc=2\r\n"},
      {std::nullopt, "Section", "k", " lead", "[Section]\r\nk=\" lead\"\r\n"},
      {"; mine\r\n\r\n[Other]\rx=1\r\n\r\n[Section]\r\nk=old\r\n", "Section", "k", "new",
       "; mine\r\n\r\n[Other]\rx=1\r\n\r\n[Section]\r\nk=new\r\n"},
  };
  for (const auto& c : writes) {
    fs::remove(folder / "write.ini");
    if (c.before) WriteBytes(folder / "write.ini", *c.before);
    EXPECT_TRUE(WriteIni(c.section, c.key, c.value, folder / "write.ini")) << c.after;
    EXPECT_EQ(ReadBytes(folder / "write.ini"), c.after);
  }
  // What cannot stand on one line is refused.
  for (auto [section, key, value] :
       {std::array{"S", "k", "a\nb"}, std::array{"S", "k", "a\rb"}, std::array{"S", "k=j", "v"},
        std::array{"S", ";k", "v"}, std::array{"Se]c", "k", "v"}})
    EXPECT_FALSE(IniUpdate("", section, key, value)) << section << "/" << key << "/" << value;
}

// A file no one may write, or that cannot be read (its keys would be lost), is refused, root too.
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
