#include "platform/mci_errors.h"

#include <algorithm>
#include <cstring>

namespace orvane::platform {

const char* MciErrorText(std::uint32_t code) {
  switch (code) {
    case MCIERR_INVALID_DEVICE_ID:
      return "Invalid MCI device ID. Use the ID returned when opening the MCI device.";
    case MCIERR_UNRECOGNIZED_KEYWORD:
      return "The driver cannot recognize the specified command parameter.";
    case MCIERR_UNRECOGNIZED_COMMAND:
      return "The driver cannot recognize the specified command.";
    case MCIERR_HARDWARE:
      return "There is a problem with your media device. Make sure it is working correctly or "
             "contact the device manufacturer.";
    case MCIERR_INVALID_DEVICE_NAME:
      return "The specified device is not open or is not recognized by MCI.";
    case MCIERR_OUT_OF_MEMORY:
      return "Not enough memory available for this task. Quit one or more applications to "
             "increase available memory, and then try again.";
    case MCIERR_DEVICE_OPEN:
      return "The device name is already being used as an alias by this application. Use a "
             "unique alias.";
    case MCIERR_CANNOT_LOAD_DRIVER:
      return "There is an undetectable problem in loading the specified device driver.";
    case MCIERR_MISSING_COMMAND_STRING:
      return "No command was specified.";
    case MCIERR_PARAM_OVERFLOW:
      return "The output string was too large to fit in the return buffer. Increase the size "
             "of the buffer.";
    case MCIERR_MISSING_STRING_ARGUMENT:
      return "The specified command requires a character-string parameter. Please provide one.";
    case MCIERR_BAD_INTEGER:
      return "The specified integer is invalid for this command.";
    case MCIERR_PARSER_INTERNAL:
      return "The device driver returned an invalid return type. Check with the device "
             "manufacturer about obtaining a new driver.";
    case MCIERR_DRIVER_INTERNAL:
      return "There is a problem with the device driver. Check with the device manufacturer "
             "about obtaining a new driver.";
    case MCIERR_MISSING_PARAMETER:
      return "The specified command requires a parameter. Please supply one.";
    case MCIERR_UNSUPPORTED_FUNCTION:
      return "The MCI device you are using does not support the specified command.";
    case MCIERR_FILE_NOT_FOUND:
      return "Cannot find the specified file. Make sure the path and filename are correct.";
    case MCIERR_DEVICE_NOT_READY:
      return "The device driver is not ready.";
    case MCIERR_INTERNAL:
      return "A problem occurred in initializing MCI. Try restarting Windows.";
    case MCIERR_DRIVER:
      return "There is a problem with the device driver. The driver has closed. Cannot access "
             "error.";
    case MCIERR_CANNOT_USE_ALL:
      return "Cannot use 'all' as the device name with the specified command.";
    case MCIERR_MULTIPLE:
      return "Errors occurred in more than one device. Specify each command and device "
             "separately to determine which devices caused the error.";
    case MCIERR_EXTENSION_NOT_FOUND:
      return "Cannot determine the device type from the given filename extension.";
    case MCIERR_OUTOFRANGE:
      return "The specified parameter is out of range for the specified command.";
    case MCIERR_FLAGS_NOT_COMPATIBLE:
      return "The specified parameters cannot be used together.";
    case MCIERR_FILE_NOT_SAVED:
      return "Cannot save the specified file. Make sure you have enough disk space or are "
             "still connected to the network.";
    case MCIERR_DEVICE_TYPE_REQUIRED:
      return "Cannot find the specified device. Make sure it is installed and that the device "
             "name is spelled correctly.";
    case MCIERR_DEVICE_LOCKED:
      return "The specified device is now being closed. Wait a few seconds, and then try "
             "again.";
    case MCIERR_DUPLICATE_ALIAS:
      return "The specified alias is already being used in this application. Use a unique "
             "alias.";
    case MCIERR_BAD_CONSTANT:
      return "The specified parameter is invalid for this command.";
    case MCIERR_MUST_USE_SHAREABLE:
      return "The device driver is already in use. To share it, use the 'shareable' parameter "
             "with each 'open' command.";
    case MCIERR_MISSING_DEVICE_NAME:
      return "The specified command requires an alias, file, driver, or device name. Please "
             "supply one.";
    case MCIERR_BAD_TIME_FORMAT:
      return "The specified value for the time format is invalid. Refer to the MCI "
             "documentation for valid formats.";
    case MCIERR_NO_CLOSING_QUOTE:
      return "A closing double-quotation mark is missing from the parameter value. Please "
             "supply one.";
    case MCIERR_DUPLICATE_FLAGS:
      return "A parameter or value was specified twice. Only specify it once.";
    case MCIERR_INVALID_FILE:
      return "The specified file cannot be played on the specified MCI device. The file may be "
             "corrupt, or not in the correct format.";
    case MCIERR_NULL_PARAMETER_BLOCK:
      return "A null parameter block was passed to MCI.";
    case MCIERR_UNNAMED_RESOURCE:
      return "Cannot save an unnamed file. Supply a filename.";
    case MCIERR_NEW_REQUIRES_ALIAS:
      return "You must specify an alias when using the 'new' parameter.";
    case MCIERR_NOTIFY_ON_AUTO_OPEN:
      return "Cannot use the 'notify' flag with auto-opened devices.";
    case MCIERR_NO_ELEMENT_ALLOWED:
      return "Cannot use a filename with the specified device.";
    case MCIERR_NONAPPLICABLE_FUNCTION:
      return "Cannot carry out the commands in the order specified. Correct the command "
             "sequence, and then try again.";
    case MCIERR_ILLEGAL_FOR_AUTO_OPEN:
      return "Cannot carry out the specified command on an auto-opened device. Wait until the "
             "device is closed, and then try again.";
    case MCIERR_FILENAME_REQUIRED:
      return "The filename is invalid. Make sure the filename is not longer than 8 characters, "
             "followed by a period and an extension.";
    case MCIERR_EXTRA_CHARACTERS:
      return "Cannot specify extra characters after a string enclosed in quotation marks.";
    case MCIERR_DEVICE_NOT_INSTALLED:
      return "The specified device is not installed on the system. Use the Drivers option in "
             "Control Panel to install the device.";
    case MCIERR_GET_CD:
      return "Cannot access the specified file or MCI device. Try changing directories or "
             "restarting your computer.";
    case MCIERR_SET_CD:
      return "Cannot access the specified file or MCI device because the application cannot "
             "change directories.";
    case MCIERR_SET_DRIVE:
      return "Cannot access specified file or MCI device because the application cannot "
             "change drives.";
    case MCIERR_DEVICE_LENGTH:
      return "Specify a device or driver name that is less than 79 characters.";
    case MCIERR_DEVICE_ORD_LENGTH:
      return "Specify a device or driver name that is less than 69 characters.";
    case MCIERR_NO_INTEGER:
      return "The specified command requires an integer parameter. Please provide one.";
    case MCIERR_WAVE_OUTPUTSINUSE:
      return "All wave devices that can play files in the current format are in use. Wait "
             "until a wave device is free, and then try again.";
    case MCIERR_WAVE_SETOUTPUTINUSE:
      return "Cannot set the current wave device for play back because it is in use. Wait until "
             "the device is free, and then try again.";
    case MCIERR_WAVE_INPUTSINUSE:
      return "All wave devices that can record files in the current format are in use. Wait "
             "until a wave device is free, and then try again.";
    case MCIERR_WAVE_SETINPUTINUSE:
      return "Cannot set the current wave device for recording because it is in use. Wait until "
             "the device is free, and then try again.";
    case MCIERR_WAVE_OUTPUTUNSPECIFIED:
      return "Any compatible waveform playback device may be used.";
    case MCIERR_WAVE_INPUTUNSPECIFIED:
      return "Any compatible waveform recording device may be used.";
    case MCIERR_WAVE_OUTPUTSUNSUITABLE:
      return "No wave device that can play files in the current format is installed. Use the "
             "Drivers option to install the wave device.";
    case MCIERR_WAVE_SETOUTPUTUNSUITABLE:
      return "The device you are trying to play to cannot recognize the current file format.";
    case MCIERR_WAVE_INPUTSUNSUITABLE:
      return "No wave device that can record files in the current format is installed. Use the "
             "Drivers option to install the wave device.";
    case MCIERR_WAVE_SETINPUTUNSUITABLE:
      return "The device you are trying to record from cannot recognize the current file "
             "format.";
    case MCIERR_SEQ_DIV_INCOMPATIBLE:
      return "The time formats of the \"song pointer\" and SMPTE are mutually exclusive. You "
             "can't use them together.";
    case MCIERR_SEQ_PORT_INUSE:
      return "The specified MIDI port is already in use. Wait until it is free, and then try "
             "again.";
    case MCIERR_SEQ_PORT_NONEXISTENT:
      return "The specified MIDI device is not installed on the system. Use the Drivers option "
             "from the Control Panel to install a MIDI device.";
    case MCIERR_SEQ_PORT_MAPNODEVICE:
      return "The current MIDI Mapper setup refers to a MIDI device that is not installed on the "
             "system.";
    case MCIERR_SEQ_PORT_MISCERROR:
      return "An error occurred with the specified port.";
    case MCIERR_SEQ_TIMER:
      return "All multimedia timers are being used by other applications. Quit one of these "
             "applications, and then try again.";
    case MCIERR_SEQ_PORTUNSPECIFIED:
      return "The system doesn't have a current MIDI port specified.";
    case MCIERR_SEQ_NOMIDIPRESENT:
      return "The system has no installed MIDI devices. Use the Drivers option from the Control "
             "Panel to install a MIDI driver.";
    case MCIERR_NO_WINDOW:
      return "There is no display window.";
    case MCIERR_CREATEWINDOW:
      return "Could not create or use window.";
    case MCIERR_FILE_READ:
      return "Cannot read the specified file. Make sure the file is still present, or check "
             "your disk or network connection.";
    case MCIERR_FILE_WRITE:
      return "Cannot write to the specified file. Make sure you have enough disk space or are "
             "still connected to the network.";
    default:
      return nullptr;
  }
}

bool CopyMciErrorText(std::uint32_t code, char* text, std::uint32_t length) {
  if (text == nullptr || length == 0) return false;
  const char* source = MciErrorText(code);
  if (source == nullptr) {
    text[0] = '\0';
    return false;
  }
  const std::size_t n = std::min<std::size_t>(std::strlen(source), length - 1);
  std::memcpy(text, source, n);
  text[n] = '\0';
  return true;
}

}  // namespace orvane::platform
