#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/linux/mci/mci_command.h"

// The MCI device type "MPEGVideo": one audio file that GStreamer decodes (MP3 and more), played
// through playbin to the audio output; positions are milliseconds.
namespace orvane::platform {

// Opens `path`, waiting (at most about a second) for it to be ready to play: 275 for a file that
// is not there, 296 for one that cannot be played, 266 without playbin or the audio output.
std::uint32_t OpenFilePlayer(const std::string& path, const std::string& audioSink,
                             std::unique_ptr<MciPlayer>& player);

}  // namespace orvane::platform
