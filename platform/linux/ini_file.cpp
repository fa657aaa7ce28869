#include "platform/linux/ini_file.h"

#include <vector>

#include "common/ascii_case.h"

namespace orvane {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The names a caller passes lose their spaces (not tabs) at both ends, as on Windows.
std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
    value.remove_prefix(1);
    value.remove_suffix(1);
  }
  return value;
}

enum class LineKind { Other, Section, Key };

// One line of the file: its bytes from begin up to contentEnd, then its line break up to end.
struct Line {
  size_t begin = 0;
  size_t contentEnd = 0;
  size_t end = 0;
  LineKind kind = LineKind::Other;
  std::string_view name;   // the section's or the key's name, blanks trimmed
  std::string_view value;  // the key's value, blanks trimmed, quotes still on
};

Line Classify(std::string_view file, Line line) {
  std::string_view content = TrimBlanks(file.substr(line.begin, line.contentEnd - line.begin));
  if (content.empty() || content.front() == ';') return line;
  if (content.front() == '[') {
    const size_t close = content.rfind(']');
    if (close != std::string_view::npos) {
      line.kind = LineKind::Section;
      line.name = TrimBlanks(content.substr(1, close - 1));
      return line;
    }
    // A "[" line without "]" is no header; it may still be a key line.
  }
  const size_t equals = content.find('=');
  if (equals == std::string_view::npos) return line;
  line.kind = LineKind::Key;
  line.name = TrimBlanks(content.substr(0, equals));
  line.value = TrimBlanks(content.substr(equals + 1));
  return line;
}

std::vector<Line> SplitLines(std::string_view file) {
  std::vector<Line> lines;
  size_t pos = 0;
  // A byte order mark is no part of the first line.
  if (file.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
  while (pos < file.size()) {
    Line line;
    line.begin = pos;
    while (pos < file.size() && file[pos] != '\r' && file[pos] != '\n') ++pos;
    line.contentEnd = pos;
    if (pos < file.size()) {
      if (file[pos] == '\r' && pos + 1 < file.size() && file[pos + 1] == '\n') ++pos;
      ++pos;
    }
    line.end = pos;
    lines.push_back(Classify(file, line));
  }
  return lines;
}

// The index of the first header named section, or lines.size().
size_t FindSection(const std::vector<Line>& lines, std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == LineKind::Section && common::EqualsIgnoringCase(lines[i].name, section))
      return i;
  }
  return lines.size();
}

bool HasLineBreak(const Line& line) {
  return line.end > line.contentEnd;
}

bool EndsInLineBreak(std::string_view file) {
  return !file.empty() && (file.back() == '\n' || file.back() == '\r');
}

bool HasLineBreakChar(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// The value as it must stand in the file to read back as itself.
std::string EncodeValue(std::string_view value) {
  const bool blankEnds = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
  if (blankEnds || Unquote(value).size() != value.size()) {
    return "\"" + std::string(value) + "\"";
  }
  return std::string(value);
}

}  // namespace

std::optional<std::string> IniLookup(std::string_view file, std::string_view section,
                                     std::string_view key) {
  section = TrimSpaces(section);
  key = TrimSpaces(key);
  if (key.empty()) return std::nullopt;
  const std::vector<Line> lines = SplitLines(file);
  for (size_t i = FindSection(lines, section) + 1; i < lines.size(); ++i) {
    if (lines[i].kind == LineKind::Section) break;
    if (lines[i].kind == LineKind::Key && common::EqualsIgnoringCase(lines[i].name, key)) {
      return std::string(Unquote(lines[i].value));
    }
  }
  return std::nullopt;
}

std::optional<std::string> IniUpdate(std::string_view file, std::string_view section,
                                     std::string_view key, std::string_view value) {
  section = TrimSpaces(section);
  key = TrimSpaces(key);
  if (section.empty() || key.empty() || HasLineBreakChar(section) || HasLineBreakChar(key) ||
      HasLineBreakChar(value) || section.find(']') != std::string_view::npos ||
      key.find('=') != std::string_view::npos || key.front() == ';' || key.front() == '[' ||
      TrimBlanks(key).size() != key.size()) {
    return std::nullopt;
  }
  const std::string encoded = EncodeValue(value);
  const std::vector<Line> lines = SplitLines(file);
  const size_t header = FindSection(lines, section);
  if (header == lines.size()) {
    std::string out(file);
    if (!out.empty() && !EndsInLineBreak(out)) out += "\r\n";
    out += "[" + std::string(section) + "]\r\n" + std::string(key) + "=" + encoded + "\r\n";
    return out;
  }
  size_t lastKey = header;
  for (size_t i = header + 1; i < lines.size(); ++i) {
    const Line& line = lines[i];
    if (line.kind == LineKind::Section) break;
    if (line.kind != LineKind::Key) continue;
    if (common::EqualsIgnoringCase(line.name, key)) {
      std::string out(file.substr(0, line.begin));
      out += std::string(line.name) + "=" + encoded + "\r\n";
      out += file.substr(line.end);
      return out;
    }
    lastKey = i;
  }
  const Line& after = lines[lastKey];
  std::string out(file.substr(0, after.end));
  if (!HasLineBreak(after)) out += "\r\n";
  out += std::string(key) + "=" + encoded + "\r\n";
  out += file.substr(after.end);
  return out;
}

}  // namespace orvane
