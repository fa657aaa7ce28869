#pragma once

#include <string>

namespace orvane {

// A caption font as the control stores it: face, size, weight, style and character set.
struct FontInfo {
  std::string Name = "ＭＳ Ｐゴシック";
  double Size = 9.75;  // points
  int Weight = 400;    // 400 regular, 700 bold
  bool Italic = false;
  bool Underline = false;
  bool Strikethrough = false;
  int Charset = 128;  // 128 Shift-JIS, 0 ANSI, 1 default

  bool operator==(const FontInfo&) const = default;
};

}  // namespace orvane
