#pragma once

#include <optional>
#include <string_view>

namespace orvane::common {

// The number a text holds, as the system converts a text to a number wherever the programs
// read one (the settings file, the repeat box, a device's reply, a stored property): blanks
// around it allowed, then an optional sign, digits with an optional decimal point and an
// optional exponent ("12", " 2.5 ", "+3", "-3", "1e1"), or "&H" and up to 32 bits of
// hexadecimal digits ("&HC6C5D7"). nullopt when the text is no number; an empty text is none.
std::optional<double> ParseNumberText(std::string_view text);

}  // namespace orvane::common
