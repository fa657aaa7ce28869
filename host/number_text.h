#pragma once

#include <optional>
#include <string_view>

namespace orvane {

// The number a text holds, as the settings file and the repeat box take it: blanks around it
// allowed, an optional sign, digits with an optional decimal point and an optional exponent
// ("12", " 2.5 ", "-3", "1e1"). nullopt when the text is no number; an empty text is none.
std::optional<double> ParseNumberText(std::string_view text);

}  // namespace orvane
