#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/mci/mci_device.h"

// The MCI command-string parser: one command string in, one parsed command (or an MCI
// error code) out. Keywords match without regard to case; a quoted word may hold blanks,
// and "" inside it stands for one double quote.
namespace orvane::platform {

enum class MciVerb { Open, Close, Play, Stop, Pause, Resume, Seek, Status, Set };

struct MciCommand {
  MciVerb verb = MciVerb::Open;
  // The device word as written, quotes removed: a device type, an alias or a file name.
  std::string device;
  bool all = false;  // the device word was "all"
  bool wait = false;
  bool notify = false;

  // open
  std::string type;
  std::string alias;
  bool shareable = false;

  // play
  std::optional<std::uint32_t> from;
  std::optional<std::uint32_t> to;

  // seek
  MciSeekTarget seekTarget = MciSeekTarget::Position;
  std::uint32_t seekPosition = 0;

  // status
  MciStatusItem item = MciStatusItem::Mode;
  std::optional<std::uint32_t> track;

  // set
  std::optional<MciTimeFormat> timeFormat;
  std::optional<bool> doorOpen;
};

// Parses the text up to its first NUL. Returns 0 and fills `command`, or an MCI error:
// 267 for an empty string, 261 for an unknown verb, 292 for a missing device word, 294 for
// an unterminated quote, 259 for an unknown keyword, 270 for a bad number, and so on.
std::uint32_t ParseMciCommand(std::string_view text, MciCommand& command);

// A position or number as MCI reads it: decimal digits, or up to four colon-separated
// fields of at most 255 packed low byte first ("03:00:00:00" is 3).
std::optional<std::uint32_t> ParseMciInteger(std::string_view word);

}  // namespace orvane::platform
