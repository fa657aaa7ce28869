#pragma once

// The INI cases, each with the answer Windows gives (from Windows' behaviour as Wine's own
// tests pin it on real Windows; where nothing pins it, the answer Wine gives) and, where they
// differ from it, the answers of Wine and of ours, each with its reason. Our model's unit test
// and the comparison with Wine's profile functions both read them.

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace orvane::testing {

// The keys in code page 932: "BGM区分" and "BGMﾌｧｲﾙ".
inline const std::string kKind = "BGM\x8B\xE6\x95\xAA";
inline const std::string kFile = "BGM\xCC\xA7\xB2\xD9";

struct ReadCase {
  const char* what;
  std::optional<std::string> file;  // nullopt: there is no file
  std::string section;
  std::string key;
  std::string windows;
  std::optional<std::string> wine = std::nullopt;  // where Wine differs from Windows
  std::optional<std::string> ours = std::nullopt;  // where we differ on purpose
};

inline const std::string kLong(300, 'v');

inline const ReadCase kReads[] = {
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

inline const WriteCase kWrites[] = {
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

}  // namespace orvane::testing
