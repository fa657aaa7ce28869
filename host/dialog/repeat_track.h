#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The CD repeat track as the combo box BGM_Repeat shows it and as the user types it.
namespace orvane {

// A whole number in the pattern "##": its digits with no leading zeros, a "-" before a
// negative one, and the empty text for 0.
std::string FormatHashHash(int value);

// The track to save for the combo box's text: the number rounded to a whole one (halves to
// the even one), or 0 when the text is no number or the result does not fit 16 bits.
std::int16_t RepeatTrackFromText(std::string_view text);

}  // namespace orvane
