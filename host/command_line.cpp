#include "host/command_line.h"

#include <charconv>
#include <cmath>

#include "common/ascii_case.h"

namespace orvane {
namespace {

// Bytes of the UTF-8 character that starts with lead (1 for a stray byte).
size_t CharacterLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string JoinArguments(std::span<const char* const> arguments) {
  std::string joined;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (i > 0) joined += ' ';
    if (arguments[i] != nullptr) joined += arguments[i];
  }
  return joined;
}

std::string ModeLetter(std::string_view commandLine) {
  if (commandLine.empty()) return "";
  const size_t first = CharacterLength(static_cast<unsigned char>(commandLine[0]));
  if (first >= commandLine.size()) return "";
  const size_t length = CharacterLength(static_cast<unsigned char>(commandLine[first]));
  std::string letter(commandLine.substr(first, length));
  if (letter.size() == 1) letter[0] = common::AsciiUpper(letter[0]);
  return letter;
}

std::int32_t PreviewHandle(std::string_view commandLine) {
  // Characters, not bytes, are counted; the first three are skipped.
  size_t pos = 0;
  for (int skipped = 0; skipped < 3 && pos < commandLine.size(); ++skipped) {
    pos += CharacterLength(static_cast<unsigned char>(commandLine[pos]));
  }
  if (pos >= commandLine.size()) return 0;
  std::string_view rest = commandLine.substr(pos);

  // Gather the number's characters, skipping blanks wherever they stand.
  std::string number;
  size_t i = 0;
  auto next = [&]() -> char {
    while (i < rest.size() && IsBlank(rest[i])) ++i;
    return i < rest.size() ? rest[i] : '\0';
  };
  // Significant digits are gathered only up to a bound; beyond it the value is out of range
  // anyway unless the exponent brings it back, so dropped whole digits raise the exponent.
  constexpr size_t kMaxDigits = 40;
  long long droppedIntegerDigits = 0;
  if (char c = next(); c == '+' || c == '-') {
    number += c;
    ++i;
  }
  bool digits = false;
  size_t significant = 0;
  for (char c = next(); IsDigit(c); ++i, c = next()) {
    digits = true;
    if (c == '0' && significant == 0) continue;  // leading zeros change nothing
    if (significant < kMaxDigits) {
      number += c;
      ++significant;
    } else {
      ++droppedIntegerDigits;
    }
  }
  if (significant == 0) number += '0';
  if (next() == '.') {
    ++i;
    number += '.';
    size_t fraction = 0;
    for (char c = next(); IsDigit(c); ++i, c = next()) {
      digits = true;
      if (fraction++ < kMaxDigits) number += c;
    }
  }
  if (!digits) return 0;
  long long exponent = droppedIntegerDigits;
  if (char c = next(); c == 'e' || c == 'E' || c == 'd' || c == 'D') {
    const size_t mark = i;
    ++i;
    bool negative = false;
    if (char s = next(); s == '+' || s == '-') {
      negative = s == '-';
      ++i;
    }
    long long value = 0;
    bool any = false;
    for (char d = next(); IsDigit(d); ++i, d = next()) {
      any = true;
      if (value < 100000) value = value * 10 + (d - '0');
    }
    if (any) {
      exponent += negative ? -value : value;
    } else {
      i = mark;  // "12e" is 12
    }
  }
  if (exponent != 0) number += "e" + std::to_string(exponent);

  double value = 0;
  const char* begin = number.data();
  if (*begin == '+') ++begin;
  if (std::from_chars(begin, number.data() + number.size(), value).ec != std::errc()) return 0;
  const double rounded = std::nearbyint(value);  // the default mode rounds halves to even
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return 0;
  return static_cast<std::int32_t>(rounded);
}

}  // namespace orvane
