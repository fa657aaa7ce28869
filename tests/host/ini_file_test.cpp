#include "host/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <optional>
#include <string>

#include "host/Orvane_B.h"
#include "platform/atomic_file.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kKind(IniKeyKind);  // code page 932 bytes, as Windows wrote them
const std::string kWindowsFile =
    "[Section]\r\n" + kKind + "=2\r\n" + std::string(IniKeyFile) + "=C:\\Music\\a.mp3\r\n";

TEST(IniLookup, ReadsAsWindowsDoes) {
  const std::optional<std::string> none;
  const struct {
    std::string file, key;
    std::optional<std::string> expected;
  } cases[] = {{kWindowsFile, std::string(IniKeyFile), "C:\\Music\\a.mp3"},
               {"[SECTION]\r\nbgm\x8B\xE6\x95\xAA=MiXeD\r\n", kKind, "MiXeD"},  // names ignore case
               {"  [  Section  ]  \n \t key\t =   two words  \n", "key", "two words"},
               {"[Section]\nkey=v\n", " key ", "v"},
               {"[Section]\nk=\"  inner  \"\n", "k", "  inner  "},
               {"[Section]\nk='single'\n", "k", "single"},
               {"[Section]\nk=\"\"twice\"\"\n", "k", "\"twice\""},  // only one outer pair
               {"[Section]\nk=\"mismatch'\n", "k", "\"mismatch'"},
               {"[Section]\r\n   ; k=hidden\r\nk=a;b ; c\r\n", "k", "a;b ; c"},
               {"k=before\r\n[Section]\r\n", "k", none},
               {"[Section]\r\njunk line\r\n[no close\r\nk=1\r\n", "k", "1"},
               {"[Section]\na=1\n[Other]\n[section]\na=2\nb=3\n", "a", "1"},  // first section wins
               {"[Section]\na=1\n[Other]\n[section]\na=2\nb=3\n", "b", none},
               {"[Section]\r\nk=first\r\nK=second\r\n", "k", "first"},
               {"[Section]\rk=cr\rj=2\r", "j", "2"},
               {"[Section]\r\nk=last", "k", "last"},
               {"[Section] trailing\r\nk=a=b\r\n", "k", "a=b"},
               {"[Section]\r\n=1\r\n", "", none},
               {"\xEF\xBB\xBF[Section]\r\nk=1\r\n", "k", "1"}};
  for (const auto& c : cases) {
    EXPECT_EQ(IniLookup(c.file, "Section", c.key), c.expected) << c.file;
  }
}

TEST(IniUpdate, KeepsEveryOtherByte) {
  const struct {
    std::string before, key, value, after;
  } cases[] = {{"; c\n\n[Other]\nx=1\n\n[section]\n  BGM = old \nkeep=1\n\n[Third]\ny=2\n", "bgm",
                "new", "; c\n\n[Other]\nx=1\n\n[section]\nBGM=new\r\nkeep=1\n\n[Third]\ny=2\n"},
               {"[Section]\r\na=1\r\n; note\r\n\r\n[Next]\r\n", "c", "3",
                "[Section]\r\na=1\r\nc=3\r\n; note\r\n\r\n[Next]\r\n"},
               {"[Section]", "c", "3", "[Section]\r\nc=3\r\n"},
               {"[Section]\r\nc=1", "c", "2", "[Section]\r\nc=2\r\n"},
               {"[Other]\r\nx=1", "k", "v", "[Other]\r\nx=1\r\n[Section]\r\nk=v\r\n"},
               {"[Section]\r\nk=1\r\n[Section]\r\nk=2\r\n", "K", "3",
                "[Section]\r\nk=3\r\n[Section]\r\nk=2\r\n"},
               {"k=0\r\n[Section]\r\n", "k", "1", "k=0\r\n[Section]\r\nk=1\r\n"}};
  for (const auto& c : cases) EXPECT_EQ(IniUpdate(c.before, "Section", c.key, c.value), c.after);
  // What cannot stand on one line is refused.
  const char* refused[][3] = {{"S", "k", "a\nb"}, {"S", "k", "a\rb"}, {"S", "k=j", "v"},
                              {"S", ";k", "v"},   {"S", "", "v"},     {"Se]c", "k", "v"},
                              {"", "k", "v"}};
  for (auto [section, key, value] : refused) {
    EXPECT_FALSE(IniUpdate("", section, key, value)) << section << "/" << key << "/" << value;
  }
}

TEST(IniUpdate, EveryValueReadsBackAsItselfAndASecondWriteChangesNothing) {
  for (std::string value : {"", " lead", "trail\t", "\"q\"", "'q'", "\"", "'a\"",
                            "/home/ユーザー/音楽/a b.mp3", "C:\\a;b=c", "\"\" \"\""}) {
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

TEST_F(IniFiles, ReadsWithTheLimits) {
  EXPECT_EQ(ReadIni("Section", "k", ini), "") << "missing file";
  EXPECT_EQ(ReadIni("Section", "k", folder.path()), "") << "a folder";
  WriteBytes(ini, "[Section]\r\nk=" + std::string(300, 'v') + "\r\n");
  EXPECT_EQ(ReadIni("Section", "k", ini), std::string(255, 'v'));
}

TEST_F(IniFiles, WritesCrlfKeepingTheModeAndTheLink) {
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
}

TEST_F(IniFiles, FailedOrInterruptedWriteLeavesTheOldFileAndNoTemporary) {
  EXPECT_FALSE(WriteIni("Section", "k", "1", folder / "missing/Orvane.ini"));
  // A file that cannot be read is not replaced: its keys would be lost.
  std::filesystem::create_directory(folder / "dir.ini");
  EXPECT_FALSE(WriteIni("Section", "k", "1", folder / "dir.ini"));
  std::filesystem::remove(folder / "dir.ini");
  WriteBytes(ini, kWindowsFile);
  std::string temporary;
  EXPECT_FALSE(WriteFileAtomically(ini, "new", [&](const std::string& t) {
    temporary = t;
    EXPECT_EQ(ReadBytes(t), "new");
    EXPECT_EQ(std::filesystem::path(t).parent_path(), std::filesystem::path(folder.path()));
    return false;  // the process dies or the disk fills here
  }));
  EXPECT_FALSE(temporary.empty());
  EXPECT_EQ(ReadBytes(ini), kWindowsFile);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

}  // namespace
}  // namespace orvane
