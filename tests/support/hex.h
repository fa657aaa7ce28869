#pragma once

#include <string>
#include <string_view>

// Texts cross between a test and the Windows probe in hexadecimal, so that blanks, quotes, CRs
// and code page 932 bytes pass unchanged; "." is the empty text.
namespace orvane::testing {

inline std::string Hex(std::string_view text) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out = text.empty() ? "." : "";
  for (unsigned char c : text) out += {kDigits[c >> 4], kDigits[c & 15]};
  return out;
}

inline std::string Unhex(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; field != "." && i + 1 < field.size(); i += 2)
    out += static_cast<char>(std::stoi(std::string(field.substr(i, 2)), nullptr, 16));
  return out;
}

}  // namespace orvane::testing
