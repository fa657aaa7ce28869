#pragma once

#include <memory>
#include <string>

#include "platform/linux/mci/mci_command.h"

// The MCI device "cdaudio" in the time format tmsf: the disc in a drive, or a CUE sheet of a
// disc image, read with libcdio (libcdio-paranoia from a drive) and played through GStreamer.
namespace orvane::platform {

// Opens `source` (a drive's device node or a .cue file), or the default drive when it is empty.
// nullptr when there is no such drive or image; a drive without a disc opens.
std::unique_ptr<MciPlayer> OpenCdPlayer(const std::string& source, const std::string& audioSink);

}  // namespace orvane::platform
