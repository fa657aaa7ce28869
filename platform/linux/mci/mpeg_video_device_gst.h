#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/linux/mci/mci_device.h"

// The MCI device type "MPEGVideo": one audio file that GStreamer can decode (MP3, WAV and
// more), played through playbin to the audio output. Times are milliseconds.
namespace orvane::platform {

// Opens `path`, waiting (at most about a second) for the pipeline to be ready to play.
// 275 for a file that is not there, 296 for one that cannot be played.
std::uint32_t OpenMpegVideoDevice(const std::string& path, const std::string& audioSink,
                                  std::unique_ptr<MciDevice>& device);

}  // namespace orvane::platform
