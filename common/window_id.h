#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace orvane::common {

// An X window id as screen-saver daemons write it: "0x" and hexadecimal digits ("0x600008"),
// or decimal digits. nullopt for anything else: empty text, other characters, 0, or a value
// beyond 32 bits.
std::optional<std::uint32_t> ParseWindowId(std::string_view text);

}  // namespace orvane::common
