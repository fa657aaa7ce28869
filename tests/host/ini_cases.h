#pragma once

// INI cases with Windows' answer (as Wine's own tests pin it on real Windows) and, where ours
// differs on purpose, ours.

#include <optional>
#include <string>

namespace orvane::testing {

// The keys in code page 932: "BGM区分" and "BGMﾌｧｲﾙ".
inline const std::string kKind = "BGM\x8B\xE6\x95\xAA";
inline const std::string kFile = "BGM\xCC\xA7\xB2\xD9";
using Text = std::optional<std::string>;

struct ReadCase {
  const char* what;
  Text file;  // nullopt: there is no file
  std::string section, key, windows;
  Text ours = std::nullopt;
};

inline const ReadCase kReads[] = {
    {"a file Windows wrote",
     "[Section]\r\n" + kKind + "=2\r\n" + kFile + "=C:\\\x89\xB9\x8A\x79\\a b\r\n", "Section",
     kFile, "C:\\\x89\xB9\x8A\x79\\a b"},
    {"names ignore case", "[SECTION]\r\nbgm\x8B\xE6\x95\xAA=MiXeD\r\n", "section", kKind, "MiXeD"},
    {"blanks around names, = and values", "  [  Section  ]  \r\n \t two words\t =   a  b \t\r\n",
     "Section", "two words", "a  b"},
    {"a tab before the key asked for", "[Section]\r\nk=1\r\n", "Section", "\tk", ""},
    {"one outer pair of double quotes", "[Section]\r\nk=\"  in  \"\r\n", "Section", "k", "  in  "},
    {"one outer pair of single quotes, only", "[Section]\r\nk='\"q\"'\r\n", "Section", "k",
     "\"q\""},
    {"a comment line", "[Section]\r\n  ;k=hidden\r\n", "Section", ";k", ""},
    {"after a line without =", "[Section]\r\njunk line\r\nk=a;b=c\r\n", "Section", "k", "a;b=c"},
    {"the first of two sections", "[Section]\r\na=1\r\n[O]\r\n[section]\r\na=2\r\nb=3\r\n",
     "Section", "b", ""},
    {"the first of two keys", "[Section]\r\nk=first\r\nK=second\r\n", "Section", "k", "first"},
    {"CR-only lines", "[Section]\rk=cr\rj=2\r", "Section", "j", "2"},
    {"LF-only lines", "[Section]\nk=lf\n", "Section", "k", "lf"},
    {"no line break at the end", "[Section]\r\nk=last", "Section", "k", "last"},
    {"a missing file", std::nullopt, "Section", "k", ""},
    {"an empty key asked for", "[Section]\r\n=v\r\n", "Section", "", ""},
    // Our read takes a whole Linux path, up to 4095 bytes.
    {"a value longer than the buffer", "[Section]\r\nk=" + std::string(300, 'v') + "\r\n",
     "Section", "k", std::string(255, 'v'), std::string(300, 'v')},
    // Windows reads the mark as part of the first line; we skip it, so that a file saved by a
    // Linux editor keeps its first section.
    {"a UTF-8 byte order mark", "\xEF\xBB\xBF[Section]\r\nk=1\r\n", "Section", "k", "", "1"},
};

struct WriteCase {
  const char* what;
  Text before;
  std::string section, key, value, windows;
  Text ours = std::nullopt;
};

inline const WriteCase kWrites[] = {
    {"a new file", std::nullopt, "Section", kKind, "2", "[Section]\r\n" + kKind + "=2\r\n"},
    {"an empty value after the section's last key", "[App1]\r\nk=1\r\n[App2]\r\nk=2\r\n", "App1",
     "e", "", "[App1]\r\nk=1\r\ne=\r\n[App2]\r\nk=2\r\n"},
    {"a replaced value keeps the file's names", "[SECTION]\r\nBGM=old\r\nx=1\r\n", "Section", "bgm",
     "new", "[SECTION]\r\nBGM=new\r\nx=1\r\n"},
    {"a new section after the last, with no blank line", "[Other]\r\nx=1\r\n", "Section", "k", "v",
     "[Other]\r\nx=1\r\n[Section]\r\nk=v\r\n"},
    {"only the first of two keys", "[Section]\r\nk=1\r\n[Section]\r\nk=2\r\n", "Section", "K", "3",
     "[Section]\r\nk=3\r\n[Section]\r\nk=2\r\n"},
    {"a file without a last line break", "[Section]\r\nc=1", "Section", "c", "2",
     "[Section]\r\nc=2\r\n"},
    // Windows writes the value as it is, which reads back without its blanks. Ours quotes it,
    // so that it reads back whole on either system.
    {"a value with blanks at its ends", std::nullopt, "Section", "k", " lead",
     "[Section]\r\nk= lead\r\n", "[Section]\r\nk=\" lead\"\r\n"},
    // Comments stay; ours changes the one line and keeps every other byte.
    {"comments, blank lines and CR-only lines of a hand-made file",
     "; mine\r\n\r\n[Other]\rx=1\r\n\r\n[Section]\r\nk=old\r\n", "Section", "k", "new",
     "; mine\r\n[Other]\r\nx=1\r\n[Section]\r\nk=new\r\n",
     "; mine\r\n\r\n[Other]\rx=1\r\n\r\n[Section]\r\nk=new\r\n"},
};

}  // namespace orvane::testing
