#include "host/ini_file.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

#include "host/Orvane_B.h"
#include "platform/atomic_file.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kKind(IniKeyKind);
const std::string kRepeat(IniKeyRepeatTrack);
const std::string kFile(IniKeyFile);

// What Windows' WritePrivateProfileStringA left after the dialog's three writes.
const std::string kWindowsFile =
    "[Section]\r\n" + kKind + "=2\r\n" + kRepeat + "=5\r\n" + kFile + "=C:\\Music\\a.mp3\r\n";

// Test names from the cases' descriptions.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  std::string name;
  for (const char* c = info.param.what; *c; ++c) {
    name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  }
  return name + "_" + std::to_string(info.index);
}

struct LookupCase {
  const char* what;
  std::string file;
  std::string section;
  std::string key;
  std::optional<std::string> expected;
};

void PrintTo(const LookupCase& c, std::ostream* os) {
  *os << c.what;
}

class IniLookupTable : public ::testing::TestWithParam<LookupCase> {};

TEST_P(IniLookupTable, ReadsAsWindowsDoes) {
  const LookupCase& c = GetParam();
  EXPECT_EQ(IniLookup(c.file, c.section, c.key), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniLookupTable,
    ::testing::Values(
        LookupCase{"windows kind", kWindowsFile, "Section", kKind, "2"},
        LookupCase{"windows repeat", kWindowsFile, "Section", kRepeat, "5"},
        LookupCase{"windows file", kWindowsFile, "Section", kFile, "C:\\Music\\a.mp3"},
        LookupCase{"names ignore case, value keeps it",
                   "[SECTION]\r\nbgm\x8B\xE6\x95\xAA=MiXeD\r\n", "section", kKind, "MiXeD"},
        LookupCase{"blanks around everything", "  [  Section  ]  \n  key  =   two words  \n",
                   "Section", "key", "two words"},
        LookupCase{"tabs around everything", "\t[Section]\t\n\tkey\t=\tv\t\n", "Section", "key",
                   "v"},
        LookupCase{"spaces around the names asked for", "[Section]\nkey=v\n", "  Section ", " key ",
                   "v"},
        LookupCase{"double quotes", "[Section]\nk=\"quoted value\"\n", "Section", "k",
                   "quoted value"},
        LookupCase{"single quotes", "[Section]\nk='single'\n", "Section", "k", "single"},
        LookupCase{"quotes keep inner blanks", "[Section]\nk=\"  inner  \"\n", "Section", "k",
                   "  inner  "},
        LookupCase{"only one outer pair", "[Section]\nk=\"\"twice\"\"\n", "Section", "k",
                   "\"twice\""},
        LookupCase{"mismatched quotes stay", "[Section]\nk=\"mismatch'\n", "Section", "k",
                   "\"mismatch'"},
        LookupCase{"lone quote stays", "[Section]\nk=\"\n", "Section", "k", "\""},
        LookupCase{"empty quotes", "[Section]\nk=\"\"\n", "Section", "k", ""},
        LookupCase{"comment line", "[Section]\r\n;k=hidden\r\nk=shown\r\n", "Section", "k",
                   "shown"},
        LookupCase{"indented comment", "[Section]\r\n   ; k=hidden\r\n", "Section", "k",
                   std::nullopt},
        LookupCase{"semicolon later is text", "[Section]\r\nk=a;b ; c\r\n", "Section", "k",
                   "a;b ; c"},
        LookupCase{"hash is no comment", "[Section]\r\n#k=1\r\n", "Section", "#k", "1"},
        LookupCase{"lines before the first section", "k=before\r\n[Section]\r\nother=1\r\n",
                   "Section", "k", std::nullopt},
        LookupCase{"junk lines skipped", "[Section]\r\njunk line\r\n[no close\r\nk=1\r\n",
                   "Section", "k", "1"},
        LookupCase{"first of duplicated sections", "[Section]\na=1\n[Other]\n[section]\na=2\nb=3\n",
                   "Section", "a", "1"},
        LookupCase{"later copy of a section ignored",
                   "[Section]\na=1\n[Other]\n[section]\na=2\nb=3\n", "Section", "b", std::nullopt},
        LookupCase{"first of duplicated keys", "[Section]\r\nk=first\r\nK=second\r\n", "Section",
                   "k", "first"},
        LookupCase{"CR-only lines", "[Section]\rk=cr\rj=2\r", "Section", "j", "2"},
        LookupCase{"LF-only lines", "[Section]\nk=lf\n", "Section", "k", "lf"},
        LookupCase{"no final line break", "[Section]\r\nk=last", "Section", "k", "last"},
        LookupCase{"text after ]", "[Section] trailing\r\nk=1\r\n", "Section", "k", "1"},
        LookupCase{"empty value", "[Section]\r\nk=\r\n", "Section", "k", ""},
        LookupCase{"= in the value", "[Section]\r\nk=a=b\r\n", "Section", "k", "a=b"},
        LookupCase{"key in another section", "[Other]\r\nk=1\r\n[Section]\r\n", "Section", "k",
                   std::nullopt},
        LookupCase{"missing section", "[Other]\r\nk=1\r\n", "Section", "k", std::nullopt},
        LookupCase{"empty key never matches", "[Section]\r\n=1\r\n", "Section", "", std::nullopt},
        LookupCase{"byte order mark", "\xEF\xBB\xBF[Section]\r\nk=1\r\n", "Section", "k", "1"},
        LookupCase{"empty file", "", "Section", "k", std::nullopt}),
    CaseName<LookupCase>);

struct UpdateCase {
  const char* what;
  std::string before;
  std::string key;
  std::string value;
  std::string after;
};

void PrintTo(const UpdateCase& c, std::ostream* os) {
  *os << c.what;
}

class IniUpdateTable : public ::testing::TestWithParam<UpdateCase> {};

TEST_P(IniUpdateTable, KeepsEveryOtherByte) {
  const UpdateCase& c = GetParam();
  EXPECT_EQ(IniUpdate(c.before, "Section", c.key, c.value), c.after) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Writes, IniUpdateTable,
    ::testing::Values(
        UpdateCase{"replaced in place, spelling and LF lines of the rest kept",
                   "; comment\n\n[Other]\nx=1\n\n[section]\n  BGM = old \nkeep=1\n\n[Third]\ny=2\n",
                   "bgm", "new",
                   "; comment\n\n[Other]\nx=1\n\n[section]\nBGM=new\r\nkeep=1\n\n[Third]\ny=2\n"},
        UpdateCase{"added after the section's keys, before the blank line",
                   "[Section]\r\na=1\r\n; note\r\n\r\n[Next]\r\nb=2\r\n", "c", "3",
                   "[Section]\r\na=1\r\nc=3\r\n; note\r\n\r\n[Next]\r\nb=2\r\n"},
        UpdateCase{"section without keys", "[Section]\r\n[Next]\r\n", "c", "3",
                   "[Section]\r\nc=3\r\n[Next]\r\n"},
        UpdateCase{"header without line break", "[Section]", "c", "3", "[Section]\r\nc=3\r\n"},
        UpdateCase{"last key without line break", "[Section]\r\na=1", "c", "3",
                   "[Section]\r\na=1\r\nc=3\r\n"},
        UpdateCase{"last key replaced without line break", "[Section]\r\nc=1", "c", "2",
                   "[Section]\r\nc=2\r\n"},
        UpdateCase{"new section at the end, no blank line", "[Other]\r\nx=1\r\n", "k", "v",
                   "[Other]\r\nx=1\r\n[Section]\r\nk=v\r\n"},
        UpdateCase{"new section after a last line without break", "[Other]\r\nx=1", "k", "v",
                   "[Other]\r\nx=1\r\n[Section]\r\nk=v\r\n"},
        UpdateCase{"new file", "", "k", "v", "[Section]\r\nk=v\r\n"},
        UpdateCase{"only the first of duplicated keys", "[Section]\r\nk=1\r\nk=2\r\n", "K", "3",
                   "[Section]\r\nk=3\r\nk=2\r\n"},
        UpdateCase{"only in the first of duplicated sections",
                   "[Section]\r\na=1\r\n[Section]\r\nk=2\r\n", "k", "3",
                   "[Section]\r\na=1\r\nk=3\r\n[Section]\r\nk=2\r\n"},
        UpdateCase{"empty value", "[Section]\r\nk=1\r\n", "k", "", "[Section]\r\nk=\r\n"},
        UpdateCase{"a key before any section does not count", "k=0\r\n[Section]\r\n", "k", "1",
                   "k=0\r\n[Section]\r\nk=1\r\n"},
        UpdateCase{"blank ends are quoted", "", "k", " a ", "[Section]\r\nk=\" a \"\r\n"},
        UpdateCase{"outer quotes are quoted", "", "k", "'a'", "[Section]\r\nk=\"'a'\"\r\n"},
        UpdateCase{"windows file, kind rewritten", kWindowsFile, kKind, "0",
                   "[Section]\r\n" + kKind + "=0\r\n" + kRepeat + "=5\r\n" + kFile +
                       "=C:\\Music\\a.mp3\r\n"}),
    CaseName<UpdateCase>);

TEST(IniUpdate, BuildsTheFileWindowsBuilds) {
  std::string file;
  for (auto [section, key, value] :
       {std::tuple{"App1", "key1", "string1"}, std::tuple{"App1", "key2", "string2"},
        std::tuple{"App1", "key3", "string3"}, std::tuple{"App2", "key4", "string4"},
        std::tuple{"App3", "key5", "string5"}}) {
    file = IniUpdate(file, section, key, value).value();
  }
  EXPECT_EQ(file,
            "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n"
            "[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n");
}

TEST(IniUpdate, RefusesWhatCannotStandOnOneLine) {
  EXPECT_FALSE(IniUpdate("", "Section", "k", "a\nb"));
  EXPECT_FALSE(IniUpdate("", "Section", "k", "a\rb"));
  EXPECT_FALSE(IniUpdate("", "Section", "k=j", "v"));
  EXPECT_FALSE(IniUpdate("", "Section", ";k", "v"));
  EXPECT_FALSE(IniUpdate("", "Section", "", "v"));
  EXPECT_FALSE(IniUpdate("", "Sec]tion", "k", "v"));
  EXPECT_FALSE(IniUpdate("", "", "k", "v"));
}

TEST(IniUpdate, EveryValueReadsBackAsItself) {
  for (std::string value : {"", " ", "a", " lead", "trail\t", "\"q\"", "'q'", "\"", "'a\"",
                            "/home/ユーザー/音楽/a b.mp3", "C:\\a;b=c", "\"\" \"\""}) {
    const std::string file = IniUpdate("[Other]\nk=x\n", "Section", "k", value).value();
    EXPECT_EQ(IniLookup(file, "Section", "k"), value) << "value [" << value << "]";
    const std::string again = IniUpdate(file, "Section", "k", value).value();
    EXPECT_EQ(again, file) << "a second write of [" << value << "] changes nothing";
  }
}

// ReadIni and WriteIni on real files.
class IniFiles : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string ini = folder / "Orvane.ini";
};

TEST_F(IniFiles, MissingFileOrFolderReadsEmpty) {
  EXPECT_EQ(ReadIni("Section", kKind, ini), "");
  EXPECT_EQ(ReadIni("Section", kKind, folder.path()), "");
}

TEST_F(IniFiles, LongValueIsCutAt255Bytes) {
  const std::string value(300, 'v');
  WriteBytes(ini, "[Section]\r\n" + kFile + "=" + value + "\r\n");
  EXPECT_EQ(ReadIni("Section", kFile, ini), std::string(255, 'v'));
}

TEST_F(IniFiles, FirstWriteCreatesTheFileWithCrlf) {
  EXPECT_TRUE(WriteIni("Section", kKind, "1", ini));
  EXPECT_TRUE(WriteIni("Section", kRepeat, "0", ini));
  EXPECT_TRUE(WriteIni("Section", kFile, "", ini));
  EXPECT_EQ(ReadBytes(ini),
            "[Section]\r\n" + kKind + "=1\r\n" + kRepeat + "=0\r\n" + kFile + "=\r\n");
}

TEST_F(IniFiles, Utf8PathKeepsEveryCharacter) {
  const std::string path = "/home/ユーザー/Müsik/한국어 ✓.mp3";
  ASSERT_TRUE(WriteIni("Section", kFile, path, ini));
  EXPECT_EQ(ReadIni("Section", kFile, ini), path);
}

TEST_F(IniFiles, NamesPassUpTo127Bytes) {
  const std::string longKey(200, 'k');
  ASSERT_TRUE(WriteIni("Section", longKey, "v", ini));
  EXPECT_EQ(ReadBytes(ini), "[Section]\r\n" + std::string(127, 'k') + "=v\r\n");
}

TEST_F(IniFiles, WriteKeepsTheFileMode) {
  WriteBytes(ini, kWindowsFile);
  std::filesystem::permissions(ini, std::filesystem::perms(0640));
  ASSERT_TRUE(WriteIni("Section", kKind, "1", ini));
  EXPECT_EQ(std::filesystem::status(ini).permissions(), std::filesystem::perms(0640));
}

TEST_F(IniFiles, FailedWriteIsSilentAndLeavesNothing) {
  EXPECT_FALSE(WriteIni("Section", kKind, "1", folder / "missing/Orvane.ini"));
  // A file that cannot be read is not replaced: its keys would be lost.
  std::filesystem::create_directory(folder / "dir.ini");
  EXPECT_FALSE(WriteIni("Section", kKind, "1", folder / "dir.ini"));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "dir.ini"));
}

// An interrupted write (the process dies, the disk fills) after the temporary file was made
// must leave the old file whole and no temporary file behind.
TEST_F(IniFiles, InterruptedWriteLeavesTheOldFile) {
  WriteBytes(ini, kWindowsFile);
  std::string seenTemporary;
  const bool written =
      WriteFileAtomically(ini, "[Section]\r\nnew=1\r\n", [&](const std::string& t) {
        seenTemporary = t;
        EXPECT_EQ(ReadBytes(t), "[Section]\r\nnew=1\r\n");
        EXPECT_EQ(ReadBytes(ini), kWindowsFile);
        EXPECT_EQ(std::filesystem::path(t).parent_path(), std::filesystem::path(folder.path()));
        return false;
      });
  EXPECT_FALSE(written);
  EXPECT_FALSE(seenTemporary.empty());
  EXPECT_EQ(ReadBytes(ini), kWindowsFile);
  int entries = 0;
  for (auto& entry : std::filesystem::directory_iterator(folder.path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST_F(IniFiles, LinkedSettingsFileIsWrittenWhereItPoints) {
  const std::string real = folder / "real.ini";
  WriteBytes(real, kWindowsFile);
  std::filesystem::create_symlink(real, ini);
  ASSERT_TRUE(WriteIni("Section", kKind, "0", ini));
  EXPECT_TRUE(std::filesystem::is_symlink(ini));
  EXPECT_EQ(ReadIni("Section", kKind, real), "0");
}

}  // namespace
}  // namespace orvane
