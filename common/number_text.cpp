#include "common/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace orvane::common {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<double> ParseNumberText(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.size() > 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
    const std::string_view digits = text.substr(2);
    std::uint64_t value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size() || value > 0xFFFFFFFFu) {
      return std::nullopt;
    }
    return static_cast<double>(value);
  }
  // Checked by hand first: from_chars alone would also take "inf", "nan" and hex floats.
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const size_t mantissa = i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const size_t exponent = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == exponent) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;

  // from_chars takes no "+"; the sign is put back afterwards.
  const bool negative = text[0] == '-';
  const std::string_view body = text.substr(mantissa);
  double value = 0;
  const auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (end != body.data() + body.size()) return std::nullopt;
  // Out of range is still a number: far too small when its exponent is negative, else far
  // too big.
  if (error == std::errc::result_out_of_range) {
    value = body.find("e-") != std::string_view::npos || body.find("E-") != std::string_view::npos
                ? 0.0
                : HUGE_VAL;
  } else if (error != std::errc()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

}  // namespace orvane::common
