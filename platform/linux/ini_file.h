#pragma once

#include <optional>
#include <string>
#include <string_view>

// The INI file model behind our profile functions (profile_posix.cpp): file bytes in, value or
// new file bytes out.
// It reads as Windows' profile functions do: section and key names match without regard to
// ASCII letter case; blanks (spaces, tabs) around names, "=" and values are ignored; one
// matching outer pair of '"' or '\'' is removed from a value; a line whose first non-blank
// character is ";" is a comment; lines that are not "key=value" and lines before the first
// section are skipped; the first of duplicated sections and keys wins; CRLF, LF and CR-only
// lines all read. A UTF-8 byte order mark at the start is skipped.
namespace orvane {

// The value of key in section, or nullopt when the section or key is missing.
std::optional<std::string> IniLookup(std::string_view file, std::string_view section,
                                     std::string_view key);

// The file with key in section set to value. The first matching key gets the new value in
// place (its name keeps the file's spelling); otherwise the key is added after the section's
// last key (after its header when it has none); otherwise "[section]" and the key are
// appended at the end, with no blank line before. Written lines end in CRLF; every other byte
// is kept. A value that would not read back as itself (blanks at its ends, an outer pair of
// quotes) is written in double quotes. nullopt when the names or the value cannot be written
// as one line: a CR or LF anywhere, "]" in the section, "=" in the key, a key starting with
// ";" or "[", or an empty name.
std::optional<std::string> IniUpdate(std::string_view file, std::string_view section,
                                     std::string_view key, std::string_view value);

}  // namespace orvane
