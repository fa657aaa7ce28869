// Our INI model and MCI engine against Wine's GetPrivateProfileStringA,
// WritePrivateProfileStringA and mciSendStringA, case by case from one table each. Every case
// holds the answer Windows gives (from Windows' behaviour as Wine's own tests pin it on real
// Windows; where nothing pins it, the answer Wine gives), and, where they differ from it, the
// answers of Wine and of ours, each with its reason.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>

#include "host/Orvane_B.h"
#include "platform/mci_errors.h"
#include "platform/multimedia.h"
#include "tests/mci/media_files.h"
#include "tests/support/pulse.h"
#include "tests/windows/wine_probe.h"

namespace orvane::testing {
namespace {

// The keys in code page 932: "BGM区分" and "BGMﾌｧｲﾙ".
const std::string kKind = "BGM\x8B\xE6\x95\xAA";
const std::string kFile = "BGM\xCC\xA7\xB2\xD9";

struct ReadCase {
  const char* what;
  std::optional<std::string> file;  // nullopt: there is no file
  std::string section;
  std::string key;
  std::string windows;
  std::optional<std::string> wine = std::nullopt;  // where Wine differs from Windows
  std::optional<std::string> ours = std::nullopt;  // where we differ on purpose
};

const std::string kLong(300, 'v');

const ReadCase kReads[] = {
    {"a file Windows wrote", "[Section]\r\n" + kKind + "=2\r\n" + kFile + "=C:\\M\\a b.mp3\r\n",
     "Section", kFile, "C:\\M\\a b.mp3"},
    {"names ignore case", "[SECTION]\r\nbgm\x8B\xE6\x95\xAA=MiXeD\r\n", "section", kKind, "MiXeD"},
    {"blanks around names, = and values", "  [  Section  ]  \r\n \t two words\t =   a  b \t\r\n",
     "Section", "two words", "a  b"},
    {"spaces around the names asked for", "[Section]\r\nk=1\r\n", " Section ", " k ", "1"},
    // Wine strips every blank from the names asked for, Windows only spaces.
    {"a tab before the key asked for", "[Section]\r\nk=1\r\n", "Section", "\tk", "", "1"},
    {"one outer pair of double quotes", "[Section]\r\nk=\"  in  \"\r\n", "Section", "k", "  in  "},
    {"one outer pair of single quotes", "[Section]\r\nk='x'\r\n", "Section", "k", "x"},
    {"only one pair comes off", "[Section]\r\nk=\"\"q\"\"\r\n", "Section", "k", "\"q\""},
    {"mismatched quotes stay", "[Section]\r\nk=\"a'\r\n", "Section", "k", "\"a'"},
    {"a lone quote stays", "[Section]\r\nk=\"\r\n", "Section", "k", "\""},
    // Wine takes a comment line for a key.
    {"a comment line", "[Section]\r\n  ;k=hidden\r\n", "Section", ";k", "", "hidden"},
    {"; inside a value", "[Section]\r\nk=a;b ; c\r\n", "Section", "k", "a;b ; c"},
    {"# is no comment", "[Section]\r\n#k=1\r\n", "Section", "#k", "1"},
    {"a key before the first section", "k=0\r\n[Section]\r\n", "Section", "k", ""},
    {"a line without =", "[Section]\r\njunk line\r\nk=1\r\n", "Section", "junk line", ""},
    {"after a line without =", "[Section]\r\njunk line\r\nk=1\r\n", "Section", "k", "1"},
    {"text after ]", "[Section] note\r\nk=a=b\r\n", "Section", "k", "a=b"},
    {"the first of two sections", "[Section]\r\na=1\r\n[O]\r\n[section]\r\na=2\r\nb=3\r\n",
     "Section", "a", "1"},
    {"a key of the second copy", "[Section]\r\na=1\r\n[O]\r\n[section]\r\na=2\r\nb=3\r\n",
     "Section", "b", ""},
    {"the first of two keys", "[Section]\r\nk=first\r\nK=second\r\n", "Section", "k", "first"},
    {"CR-only lines", "[Section]\rk=cr\rj=2\r", "Section", "j", "2"},
    {"LF-only lines", "[Section]\nk=lf\n", "Section", "k", "lf"},
    {"no line break at the end", "[Section]\r\nk=last", "Section", "k", "last"},
    {"an empty value", "[Section]\r\nk=\r\n", "Section", "k", ""},
    {"a missing file", std::nullopt, "Section", "k", ""},
    // An empty key gives the default on Windows; Wine finds a line with nothing before "=".
    {"an empty key asked for", "[Section]\r\n=v\r\n", "Section", "", "", "v"},
    {"code page 932 bytes in a value", "[Section]\r\n" + kFile + "=C:\\\x89\xB9\x8A\x79\\a.mp3\r\n",
     "Section", kFile, "C:\\\x89\xB9\x8A\x79\\a.mp3"},
    {"a missing section", "[Other]\r\nk=1\r\n", "Section", "k", ""},
    // Our read takes a whole Linux path, up to 4095 bytes.
    {"a value longer than the buffer", "[Section]\r\nk=" + kLong + "\r\n", "Section", "k",
     std::string(255, 'v'), std::nullopt, kLong},
    // Windows reads the mark as part of the first line; Wine and we skip it, so that a file
    // saved by a Linux editor keeps its first section.
    {"a UTF-8 byte order mark", "\xEF\xBB\xBF[Section]\r\nk=1\r\n", "Section", "k", "", "1", "1"},
};

struct WriteCase {
  const char* what;
  std::optional<std::string> before;
  std::vector<std::array<std::string, 3>> writes;  // section, key, value
  std::string windows;
  std::optional<std::string> wine = std::nullopt;
  std::optional<std::string> ours = std::nullopt;
};

const WriteCase kWrites[] = {
    {"a new file", std::nullopt, {{"Section", kKind, "2"}}, "[Section]\r\n" + kKind + "=2\r\n"},
    {"sections and keys in the order written",
     std::nullopt,
     {{"App1", "key1", "string1"},
      {"App1", "key2", "string2"},
      {"App1", "key3", "string3"},
      {"App2", "key4", "string4"},
      {"App3", "key5", "string5"}},
     "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n"
     "[App3]\r\nkey5=string5\r\n"},
    {"a replaced value keeps the file's names",
     "[SECTION]\r\nBGM=old\r\nx=1\r\n",
     {{"Section", "bgm", "new"}},
     "[SECTION]\r\nBGM=new\r\nx=1\r\n"},
    {"a new key after the section's keys",
     "[Section]\r\na=1\r\n[Next]\r\nx=1\r\n",
     {{"Section", "c", "3"}},
     "[Section]\r\na=1\r\nc=3\r\n[Next]\r\nx=1\r\n"},
    {"an empty value", std::nullopt, {{"Section", "k", ""}}, "[Section]\r\nk=\r\n"},
    {"a new section after the last, with no blank line",
     "[Other]\r\nx=1\r\n",
     {{"Section", "k", "v"}},
     "[Other]\r\nx=1\r\n[Section]\r\nk=v\r\n"},
    {"only the first of two keys",
     "[Section]\r\nk=1\r\n[Section]\r\nk=2\r\n",
     {{"Section", "K", "3"}},
     "[Section]\r\nk=3\r\n[Section]\r\nk=2\r\n"},
    // Windows writes the value as it is, which reads back without its blanks; Wine drops the
    // leading ones at once. Ours quotes it, so that it reads back whole on either system.
    {"a value with blanks at its ends",
     std::nullopt,
     {{"Section", "k", " lead"}},
     "[Section]\r\nk= lead\r\n",
     "[Section]\r\nk=lead\r\n",
     "[Section]\r\nk=\" lead\"\r\n"},
    // Comments stay. What becomes of blank lines is not pinned: Wine writes the file afresh
    // without them; ours changes the one line and leaves every other byte as it was.
    {"comments and blank lines of a hand-made file",
     "; mine\r\n\r\n[Other]\r\nx=1\r\n\r\n[Section]\r\nk=old\r\n",
     {{"Section", "k", "new"}},
     "; mine\r\n[Other]\r\nx=1\r\n[Section]\r\nk=new\r\n",
     std::nullopt,
     "; mine\r\n\r\n[Other]\r\nx=1\r\n\r\n[Section]\r\nk=new\r\n"},
    {"a file without a last line break",
     "[Section]\r\nc=1",
     {{"Section", "c", "2"}},
     "[Section]\r\nc=2\r\n"},
    // Not pinned either: Wine ends every line in CRLF; ours only the line it writes.
    {"CR-only lines",
     "[Section]\rk=1\rj=2\r",
     {{"Section", "j", "3"}},
     "[Section]\r\nk=1\r\nj=3\r\n",
     std::nullopt,
     "[Section]\rk=1\rj=3\r\n"},
};

struct MciCase {
  std::string command;  // %F% stands for the test's folder, with a separator after it
  std::uint32_t windows;
  std::string reply = "";
  std::optional<std::uint32_t> wine = std::nullopt;
  std::optional<std::uint32_t> ours = std::nullopt;
};

// The commands the music module sends, in the order of a saver run, on a machine without a
// CD drive, with a missing, a corrupt and a good MP3 file.
const MciCase kMci[] = {
    {"open cdaudio", 266},
    {"set cdaudio time format tmsf", 266},
    {"status cdaudio current track", 266},
    {"status cdaudio number of tracks", 266},
    {"status cdaudio mode", 266},
    {"status cdaudio position track 3", 266},
    {"play cdaudio", 266},
    {"play cdaudio from Error:266", 266},
    {"stop cdaudio", 266},
    {"close cdaudio", 263},
    // Wine fails every file its filter graph cannot render with 277, a missing one too.
    {"open \"%F%missing.mp3\" type MPEGVideo Alias MP3Play", 275, "", 277},
    // Wine takes an alias that is not open for a file name without an extension.
    {"play MP3Play", 263, "", 281},
    {"status MP3Play mode", 263, "", 281},
    {"stop MP3Play", 263, "", 281},
    {"play MP3Play from 0", 263, "", 281},
    {"close MP3Play", 263},
    // Not pinned: Wine's 277 is its answer for any file it cannot render, so it says nothing
    // of Windows; ours says the file cannot be played ("The file may be corrupt").
    {"open \"%F%corrupt.mp3\" type MPEGVideo Alias MP3Play", 277, "", std::nullopt, 296},
    {"play MP3Play", 263, "", 281},
    {"close MP3Play", 263},
    {"open \"%F%a tone.mp3\" type MPEGVideo Alias MP3Play", 0, "1"},
    {"open \"%F%a tone.mp3\" type MPEGVideo Alias MP3Play", 289},
    {"status MP3Play mode", 0, "stopped"},
    {"play MP3Play", 0},
    {"status MP3Play mode", 0, "playing"},
    {"stop MP3Play", 0},
    {"status MP3Play mode", 0, "stopped"},
    {"play MP3Play from 0", 0},
    {"close MP3Play", 0},
    {"play MP3Play", 263, "", 281},
    {"close all", 0},
    {"", 267},
};

class WineDifferences : public ::testing::Test {
 protected:
  TempFolder folder;
};

TEST_F(WineDifferences, ProfileReadsAndWrites) {
  std::vector<std::string> commands;
  for (std::size_t i = 0; i < std::size(kReads); ++i) {
    const std::string path = folder / ("read" + std::to_string(i) + ".ini");
    if (kReads[i].file) WriteBytes(path, *kReads[i].file);
    commands.push_back("read " + Hex(WindowsPath(path)) + " " + Hex(kReads[i].section) + " " +
                       Hex(kReads[i].key));
  }
  for (std::size_t i = 0; i < std::size(kWrites); ++i) {
    const std::string path = folder / ("write" + std::to_string(i) + ".ini");
    if (kWrites[i].before) WriteBytes(path, *kWrites[i].before);
    for (const auto& [section, key, value] : kWrites[i].writes)
      commands.push_back("write " + Hex(WindowsPath(path)) + " " + Hex(section) + " " + Hex(key) +
                         " " + Hex(value));
  }
  const std::string noFolder = folder / "no such folder/Orvane.ini";
  commands.push_back("write " + Hex(WindowsPath(noFolder)) + " " + Hex("Section") + " " + Hex("k") +
                     " " + Hex("v"));
  WineProbe probe;
  ASSERT_TRUE(probe.running());
  const std::vector<std::string> answers = probe.AskEach(commands);
  ASSERT_FALSE(answers.back().empty()) << probe.Errors();

  for (std::size_t i = 0; i < std::size(kReads); ++i) {
    const ReadCase& c = kReads[i];
    SCOPED_TRACE(c.what);
    const std::string& answer = answers[i];
    const std::string wine = Unhex(answer.substr(answer.find(' ') + 1));
    EXPECT_EQ(wine, c.wine.value_or(c.windows)) << "Wine";
    EXPECT_EQ(answer.substr(0, answer.find(' ')), std::to_string(wine.size())) << "the count";
    const std::string path = folder / ("read" + std::to_string(i) + ".ini");
    EXPECT_EQ(ReadIni(c.section, c.key, path), c.ours.value_or(c.windows)) << "ours";
  }
  std::size_t next = std::size(kReads);
  for (std::size_t i = 0; i < std::size(kWrites); ++i) {
    const WriteCase& c = kWrites[i];
    SCOPED_TRACE(c.what);
    for (std::size_t w = 0; w < c.writes.size(); ++w) EXPECT_EQ(answers[next++], "1");
    const std::string path = folder / ("write" + std::to_string(i) + ".ini");
    EXPECT_EQ(ReadBytes(path), c.wine.value_or(c.windows)) << "Wine";
    const std::string ourPath = folder / ("ours" + std::to_string(i) + ".ini");
    if (c.before) WriteBytes(ourPath, *c.before);
    for (const auto& [section, key, value] : c.writes)
      EXPECT_TRUE(WriteIni(section, key, value, ourPath));
    EXPECT_EQ(ReadBytes(ourPath), c.ours.value_or(c.windows)) << "ours";
  }
  // A write into a folder that does not exist fails, and makes neither folder nor file.
  EXPECT_EQ(answers[next], "0");
  EXPECT_FALSE(WriteIni("Section", "k", "v", noFolder));
  EXPECT_FALSE(std::filesystem::exists(folder / "no such folder"));
}

std::string Replace(std::string text, const std::string& folder) {
  if (const std::size_t at = text.find("%F%"); at != std::string::npos) text.replace(at, 3, folder);
  return text;
}

TEST_F(WineDifferences, MciCommandsOfTheMusicModuleAndTheErrorTexts) {
  WriteBytes(folder / "corrupt.mp3", std::string(4000, '\x5A'));
  ASSERT_TRUE(WriteMp3(folder / "a tone.mp3", 3.0, 550));
  // Wine's MPEGVideo device needs an audio output to open a file: a sink of the test's own.
  PulseServer server;
  ASSERT_TRUE(server.running());
  std::vector<std::string> commands;
  for (const MciCase& c : kMci)
    commands.push_back("mci " + Hex(Replace(c.command, WindowsPath(folder.path()) + "\\")));
  std::vector<std::uint32_t> codes;
  for (std::uint32_t code = platform::MCIERR_BASE; code < platform::MCIERR_BASE + 100; ++code) {
    commands.push_back("errtext " + std::to_string(code));
    codes.push_back(code);
  }
  WineProbe probe(server.env());
  ASSERT_TRUE(probe.running());
  const std::vector<std::string> answers = probe.AskEach(commands);
  ASSERT_FALSE(answers.back().empty()) << probe.Errors();

  auto ours = platform::CreateSystemMultimedia({"fakesink sync=true", folder / "no-cd-drive"});
  for (std::size_t i = 0; i < std::size(kMci); ++i) {
    const MciCase& c = kMci[i];
    SCOPED_TRACE(c.command);
    const std::string& answer = answers[i];
    const std::string wine = std::to_string(c.wine.value_or(c.windows)) + " " +
                             Hex(c.wine && *c.wine != c.windows ? "" : c.reply);
    EXPECT_EQ(answer, wine) << "Wine";
    char reply[512] = "untouched";
    const std::uint32_t code =
        ours->MciSendString(Replace(c.command, folder.path() + "/"), reply, sizeof reply);
    EXPECT_EQ(code, c.ours.value_or(c.windows)) << "ours";
    if (code == 0) EXPECT_EQ(std::string(reply), c.reply) << "ours";
  }
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const std::string& answer = answers[std::size(kMci) + i];
    char text[256];
    const bool found = ours->MciGetErrorString(codes[i], text, sizeof text);
    EXPECT_EQ(std::string(found ? "1 " : "0 ") + Hex(text), answer)
        << codes[i] << ": " << Unhex(answer.substr(2));
  }
}

}  // namespace
}  // namespace orvane::testing
