#pragma once

#include <cstdint>

// The MCI error codes the stand-in returns, with Windows' values and English texts.
namespace orvane::platform {

inline constexpr std::uint32_t MCIERR_UNRECOGNIZED_COMMAND = 261;
inline constexpr std::uint32_t MCIERR_HARDWARE = 262;
inline constexpr std::uint32_t MCIERR_INVALID_DEVICE_NAME = 263;
inline constexpr std::uint32_t MCIERR_CANNOT_LOAD_DRIVER = 266;
inline constexpr std::uint32_t MCIERR_PARAM_OVERFLOW = 268;
inline constexpr std::uint32_t MCIERR_BAD_INTEGER = 270;
inline constexpr std::uint32_t MCIERR_FILE_NOT_FOUND = 275;
inline constexpr std::uint32_t MCIERR_OUTOFRANGE = 282;
inline constexpr std::uint32_t MCIERR_INVALID_FILE = 296;

// The text of a code above; nullptr for any other.
inline const char* MciErrorText(std::uint32_t code) {
  switch (code) {
    case MCIERR_UNRECOGNIZED_COMMAND:
      return "The driver cannot recognize the specified command.";
    case MCIERR_HARDWARE:
      return "There is a problem with your media device. Make sure it is working correctly or "
             "contact the device manufacturer.";
    case MCIERR_INVALID_DEVICE_NAME:
      return "The specified device is not open or is not recognized by MCI.";
    case MCIERR_CANNOT_LOAD_DRIVER:
      return "There is an undetectable problem in loading the specified device driver.";
    case MCIERR_PARAM_OVERFLOW:
      return "The output string was too large to fit in the return buffer. Increase the size "
             "of the buffer.";
    case MCIERR_BAD_INTEGER:
      return "The specified integer is invalid for this command.";
    case MCIERR_FILE_NOT_FOUND:
      return "Cannot find the specified file. Make sure the path and filename are correct.";
    case MCIERR_OUTOFRANGE:
      return "The specified parameter is out of range for the specified command.";
    case MCIERR_INVALID_FILE:
      return "The specified file cannot be played on the specified MCI device. The file may be "
             "corrupt, or not in the correct format.";
    default:
      return nullptr;
  }
}

}  // namespace orvane::platform
