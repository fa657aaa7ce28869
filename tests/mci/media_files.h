#pragma once

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace orvane::testing {

// A half-scale sine tone, 16-bit stereo at 44.1 kHz, as a RIFF WAVE file (an empty one: no
// samples) or an MP3 (false if the encoder failed).
void WriteWav(const std::string& path, double seconds, double frequency);
void WriteEmptyWav(const std::string& path);
bool WriteMp3(const std::string& path, double seconds, double frequency);

// `folder`/disc.bin with a tone per track (440 Hz, 660 Hz, …; the lengths given, in whole
// sectors) and `folder`/disc.cue describing it. Returns the CUE sheet's path.
std::string WriteDiscImage(const std::string& folder, const std::vector<double>& trackSeconds);

}  // namespace orvane::testing
