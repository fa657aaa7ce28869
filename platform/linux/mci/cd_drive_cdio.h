#pragma once

#include <memory>
#include <string>

#include "platform/linux/mci/cd_drive.h"

// A real CD drive on libcdio: the table of contents from the drive, the audio read with
// libcdio-paranoia and played through a GStreamer pipeline. The source may also be a CUE
// sheet of a disc image.
namespace orvane::platform {

// Opens `source` (a drive's device node or a .cue file), or the default drive when it is
// empty. nullptr when there is no such drive or image.
std::unique_ptr<CdDrive> OpenCdDrive(const std::string& source, const std::string& audioSink);

}  // namespace orvane::platform
