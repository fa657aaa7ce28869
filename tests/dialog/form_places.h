#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "host/dialog/dialog_layout.h"

namespace orvane::testing {

// The dialog's design, written out here: left, top, width, height in twips; the panel's
// controls relative to the panel Pic_C.
struct Place {
  std::string_view name;
  int index;
  bool inPanel;
  int left, top, width, height;
};
// clang-format off
inline constexpr Place kDesign[] = {
    {"Pic_C", -1, false, 180, 240, 7035, 2475},     {"Shape3", 3, true, 300, 300, 1695, 315},
    {"lbl", 15, true, 300, 360, 1665, 195},         {"Img_BGM", 1, true, 420, 840, 195, 195},
    {"lbl_BGM", 1, true, 660, 840, 645, 195},       {"BGM_Repeat", -1, true, 1680, 780, 615, 300},
    {"lbl", 14, true, 2340, 840, 990, 195},         {"Img_BGM", 0, true, 420, 1140, 195, 195},
    {"lbl_BGM", 0, true, 660, 1140, 330, 195},      {"Img_BGM", 2, true, 420, 1440, 195, 195},
    {"lbl_BGM", 2, true, 660, 1440, 900, 195},      {"Cmd_File", -1, true, 420, 1680, 615, 375},
    {"lbl_Fname", -1, true, 1080, 1740, 5715, 495}, {"lbl", 7, false, 180, 2880, 2475, 195},
    {"lbl_URL", -1, false, 180, 3120, 3285, 195},   {"Cmd_Set", -1, false, 4740, 3000, 1215, 375},
    {"Cmd_Can", -1, false, 6000, 3000, 1215, 375},
};
// clang-format on

// A control's rectangle in the form's pixels at 15 twips a pixel; the panel starts at (12, 16).
inline Rect InForm(std::string_view name, int index = -1) {
  for (const Place& place : kDesign) {
    if (place.name != name || place.index != index) continue;
    const int x = place.inPanel ? 12 : 0, y = place.inPanel ? 16 : 0;
    return {x + place.left / 15, y + place.top / 15, place.width / 15, place.height / 15};
  }
  throw std::out_of_range(std::string(name));
}

// The settings file as the dialog writes it: the three keys in code page 932, in their order.
inline std::string SettingsFile(const std::string& kind, const std::string& track,
                                const std::string& file) {
  return "[Section]\r\nBGM\x8B\xE6\x95\xAA=" + kind + "\r\nBGM\xD8\xCB\xDF\xB0\xC4=" + track +
         "\r\nBGM\xCC\xA7\xB2\xD9=" + file + "\r\n";
}

inline DialogPoint CentreInForm(std::string_view name, int index = -1) {
  const Rect rect = InForm(name, index);
  return {rect.X + rect.Width / 2, rect.Y + rect.Height / 2};
}

}  // namespace orvane::testing
