#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Reading the screen-saver command line: "/s", "/p <window>", "/c[:<window>]".
namespace orvane {

// The raw command line that Windows would hand over: the arguments after the program's own
// name joined with single blanks; "" without arguments.
std::string JoinArguments(std::span<const char* const> arguments);

// The second character of the upper-cased command line, or "" when it has fewer than two
// characters. The first character is never looked at, so "/s", "-s" and "xs" all give "S".
std::string ModeLetter(std::string_view commandLine);

// The text from the fourth character as a decimal number (blanks skipped, stopping where a number
// cannot go on), rounded halves to even; 0 for no number or out of the 32-bit range.
std::int32_t PreviewHandle(std::string_view commandLine);

}  // namespace orvane
