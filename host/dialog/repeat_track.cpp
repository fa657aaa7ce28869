#include "host/dialog/repeat_track.h"

#include <cmath>

#include "common/number_text.h"

namespace orvane {
std::string FormatHashHash(int value) {
  return value == 0 ? std::string() : std::to_string(value);
}

std::int16_t RepeatTrackFromText(std::string_view text) {
  const std::optional<double> number = common::ParseNumberText(text);
  if (!number) return 0;
  // remainder() takes the nearest whole multiple, halves to the even one.
  const double whole = *number - std::remainder(*number, 1.0);
  if (!(whole >= -32768.0 && whole <= 32767.0)) return 0;
  return static_cast<std::int16_t>(whole);
}

}  // namespace orvane
