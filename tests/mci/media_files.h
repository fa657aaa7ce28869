#pragma once

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace orvane::testing {

// A RIFF WAVE file of a sine tone (16-bit stereo at 44.1 kHz), encoded with GStreamer's wavenc.
void WriteWav(const std::string& path, double seconds, double frequency);

// A RIFF WAVE file of 16-bit stereo at 44.1 kHz whose data chunk is empty, written byte by
// byte.
void WriteEmptyWav(const std::string& path);

// An MP3 file of a sine tone, encoded with GStreamer's lamemp3enc. False if it failed.
bool WriteMp3(const std::string& path, double seconds, double frequency);

// A disc image: `folder`/disc.bin with one sine tone per track (the lengths given, rounded
// to whole sectors) and `folder`/disc.cue describing it. Returns the CUE sheet's path.
std::string WriteDiscImage(const std::string& folder, const std::vector<double>& trackSeconds);

}  // namespace orvane::testing
