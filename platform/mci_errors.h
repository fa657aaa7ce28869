#pragma once

#include <cstdint>

// MCI error codes with their Windows values, and their English texts.
namespace orvane::platform {

inline constexpr std::uint32_t MCIERR_BASE = 256;
inline constexpr std::uint32_t MCIERR_INVALID_DEVICE_ID = MCIERR_BASE + 1;
inline constexpr std::uint32_t MCIERR_UNRECOGNIZED_KEYWORD = MCIERR_BASE + 3;
inline constexpr std::uint32_t MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
inline constexpr std::uint32_t MCIERR_HARDWARE = MCIERR_BASE + 6;
inline constexpr std::uint32_t MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
inline constexpr std::uint32_t MCIERR_OUT_OF_MEMORY = MCIERR_BASE + 8;
inline constexpr std::uint32_t MCIERR_DEVICE_OPEN = MCIERR_BASE + 9;
inline constexpr std::uint32_t MCIERR_CANNOT_LOAD_DRIVER = MCIERR_BASE + 10;
inline constexpr std::uint32_t MCIERR_MISSING_COMMAND_STRING = MCIERR_BASE + 11;
inline constexpr std::uint32_t MCIERR_PARAM_OVERFLOW = MCIERR_BASE + 12;
inline constexpr std::uint32_t MCIERR_MISSING_STRING_ARGUMENT = MCIERR_BASE + 13;
inline constexpr std::uint32_t MCIERR_BAD_INTEGER = MCIERR_BASE + 14;
inline constexpr std::uint32_t MCIERR_PARSER_INTERNAL = MCIERR_BASE + 15;
inline constexpr std::uint32_t MCIERR_DRIVER_INTERNAL = MCIERR_BASE + 16;
inline constexpr std::uint32_t MCIERR_MISSING_PARAMETER = MCIERR_BASE + 17;
inline constexpr std::uint32_t MCIERR_UNSUPPORTED_FUNCTION = MCIERR_BASE + 18;
inline constexpr std::uint32_t MCIERR_FILE_NOT_FOUND = MCIERR_BASE + 19;
inline constexpr std::uint32_t MCIERR_DEVICE_NOT_READY = MCIERR_BASE + 20;
inline constexpr std::uint32_t MCIERR_INTERNAL = MCIERR_BASE + 21;
inline constexpr std::uint32_t MCIERR_DRIVER = MCIERR_BASE + 22;
inline constexpr std::uint32_t MCIERR_CANNOT_USE_ALL = MCIERR_BASE + 23;
inline constexpr std::uint32_t MCIERR_MULTIPLE = MCIERR_BASE + 24;
inline constexpr std::uint32_t MCIERR_EXTENSION_NOT_FOUND = MCIERR_BASE + 25;
inline constexpr std::uint32_t MCIERR_OUTOFRANGE = MCIERR_BASE + 26;
inline constexpr std::uint32_t MCIERR_FLAGS_NOT_COMPATIBLE = MCIERR_BASE + 28;
inline constexpr std::uint32_t MCIERR_FILE_NOT_SAVED = MCIERR_BASE + 30;
inline constexpr std::uint32_t MCIERR_DEVICE_TYPE_REQUIRED = MCIERR_BASE + 31;
inline constexpr std::uint32_t MCIERR_DEVICE_LOCKED = MCIERR_BASE + 32;
inline constexpr std::uint32_t MCIERR_DUPLICATE_ALIAS = MCIERR_BASE + 33;
inline constexpr std::uint32_t MCIERR_BAD_CONSTANT = MCIERR_BASE + 34;
inline constexpr std::uint32_t MCIERR_MUST_USE_SHAREABLE = MCIERR_BASE + 35;
inline constexpr std::uint32_t MCIERR_MISSING_DEVICE_NAME = MCIERR_BASE + 36;
inline constexpr std::uint32_t MCIERR_BAD_TIME_FORMAT = MCIERR_BASE + 37;
inline constexpr std::uint32_t MCIERR_NO_CLOSING_QUOTE = MCIERR_BASE + 38;
inline constexpr std::uint32_t MCIERR_DUPLICATE_FLAGS = MCIERR_BASE + 39;
inline constexpr std::uint32_t MCIERR_INVALID_FILE = MCIERR_BASE + 40;
inline constexpr std::uint32_t MCIERR_NULL_PARAMETER_BLOCK = MCIERR_BASE + 41;
inline constexpr std::uint32_t MCIERR_UNNAMED_RESOURCE = MCIERR_BASE + 42;
inline constexpr std::uint32_t MCIERR_NEW_REQUIRES_ALIAS = MCIERR_BASE + 43;
inline constexpr std::uint32_t MCIERR_NOTIFY_ON_AUTO_OPEN = MCIERR_BASE + 44;
inline constexpr std::uint32_t MCIERR_NO_ELEMENT_ALLOWED = MCIERR_BASE + 45;
inline constexpr std::uint32_t MCIERR_NONAPPLICABLE_FUNCTION = MCIERR_BASE + 46;
inline constexpr std::uint32_t MCIERR_ILLEGAL_FOR_AUTO_OPEN = MCIERR_BASE + 47;
inline constexpr std::uint32_t MCIERR_FILENAME_REQUIRED = MCIERR_BASE + 48;
inline constexpr std::uint32_t MCIERR_EXTRA_CHARACTERS = MCIERR_BASE + 49;
inline constexpr std::uint32_t MCIERR_DEVICE_NOT_INSTALLED = MCIERR_BASE + 50;
inline constexpr std::uint32_t MCIERR_GET_CD = MCIERR_BASE + 51;
inline constexpr std::uint32_t MCIERR_SET_CD = MCIERR_BASE + 52;
inline constexpr std::uint32_t MCIERR_SET_DRIVE = MCIERR_BASE + 53;
inline constexpr std::uint32_t MCIERR_DEVICE_LENGTH = MCIERR_BASE + 54;
inline constexpr std::uint32_t MCIERR_DEVICE_ORD_LENGTH = MCIERR_BASE + 55;
inline constexpr std::uint32_t MCIERR_NO_INTEGER = MCIERR_BASE + 56;
inline constexpr std::uint32_t MCIERR_WAVE_OUTPUTSINUSE = MCIERR_BASE + 64;
inline constexpr std::uint32_t MCIERR_WAVE_SETOUTPUTINUSE = MCIERR_BASE + 65;
inline constexpr std::uint32_t MCIERR_WAVE_INPUTSINUSE = MCIERR_BASE + 66;
inline constexpr std::uint32_t MCIERR_WAVE_SETINPUTINUSE = MCIERR_BASE + 67;
inline constexpr std::uint32_t MCIERR_WAVE_OUTPUTUNSPECIFIED = MCIERR_BASE + 68;
inline constexpr std::uint32_t MCIERR_WAVE_INPUTUNSPECIFIED = MCIERR_BASE + 69;
inline constexpr std::uint32_t MCIERR_WAVE_OUTPUTSUNSUITABLE = MCIERR_BASE + 70;
inline constexpr std::uint32_t MCIERR_WAVE_SETOUTPUTUNSUITABLE = MCIERR_BASE + 71;
inline constexpr std::uint32_t MCIERR_WAVE_INPUTSUNSUITABLE = MCIERR_BASE + 72;
inline constexpr std::uint32_t MCIERR_WAVE_SETINPUTUNSUITABLE = MCIERR_BASE + 73;
inline constexpr std::uint32_t MCIERR_SEQ_DIV_INCOMPATIBLE = MCIERR_BASE + 80;
inline constexpr std::uint32_t MCIERR_SEQ_PORT_INUSE = MCIERR_BASE + 81;
inline constexpr std::uint32_t MCIERR_SEQ_PORT_NONEXISTENT = MCIERR_BASE + 82;
inline constexpr std::uint32_t MCIERR_SEQ_PORT_MAPNODEVICE = MCIERR_BASE + 83;
inline constexpr std::uint32_t MCIERR_SEQ_PORT_MISCERROR = MCIERR_BASE + 84;
inline constexpr std::uint32_t MCIERR_SEQ_TIMER = MCIERR_BASE + 85;
inline constexpr std::uint32_t MCIERR_SEQ_PORTUNSPECIFIED = MCIERR_BASE + 86;
inline constexpr std::uint32_t MCIERR_SEQ_NOMIDIPRESENT = MCIERR_BASE + 87;
inline constexpr std::uint32_t MCIERR_NO_WINDOW = MCIERR_BASE + 90;
inline constexpr std::uint32_t MCIERR_CREATEWINDOW = MCIERR_BASE + 91;
inline constexpr std::uint32_t MCIERR_FILE_READ = MCIERR_BASE + 92;
inline constexpr std::uint32_t MCIERR_FILE_WRITE = MCIERR_BASE + 93;

// The English text of an error code; nullptr for a code that has none.
const char* MciErrorText(std::uint32_t code);

// mciGetErrorStringA: copies the text, cut to fit and NUL-terminated, into text[0..length).
// False (and "" where the buffer allows) for a code without a text or no buffer.
bool CopyMciErrorText(std::uint32_t code, char* text, std::uint32_t length);

}  // namespace orvane::platform
