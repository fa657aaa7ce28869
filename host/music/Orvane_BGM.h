#pragma once

#include <cstdint>
#include <string>

namespace orvane::platform {
class Multimedia;
}

// The music module: an audio CD through the MCI device "cdaudio", an MP3 file through an
// MCI "MPEGVideo" device under the alias "MP3Play", or a WAV file looping through
// PlaySound. It reads the settings variables of Orvane_B and fails silently.
namespace orvane {

// True while CD polling may go on; the saver window stops its CD timer when a poll leaves
// it false.
extern bool BGM_CDPollOn;

// Hands the module the multimedia system it talks to; the caller keeps it alive. Until
// then every command fails as with no multimedia system at all.
void BGM_UseMultimedia(platform::Multimedia& multimedia);

// CD: opens the device with time format tmsf; each 200 ms poll starts a stopped disc or
// returns to BGM_RepeatTrack; close stops and closes it.
void BGM_CDOpen();
void BGM_CDPoll();
void BGM_CDClose();

// MP3: opens BGM_File as "MP3Play" and plays it; the 1000 ms keep tick restarts it from
// the start whenever it is not playing.
void BGM_MP3Open();
bool BGM_MP3IsPlaying();
void BGM_MP3Keep();
void BGM_MP3Close();

// WAV: loops BGM_File through PlaySound when there is a wave output; stop ends the loop.
void BGM_WAVPlay();
void BGM_WAVStop();

// Sends one command; reply receives the device's reply text or the error text. Returns
// the MCI result, or -1 for an empty command (nothing is sent).
std::int32_t BGM_MciSend(const std::string& command, std::string& reply);
// The reply text, or "Error:" followed by the result code on failure.
std::string BGM_MciQuery(const std::string& command);
// Sends "play " + device, with " from " + from and " to " + to where they are not empty.
std::int32_t BGM_MciPlay(const std::string& device, const std::string& from, const std::string& to);

}  // namespace orvane
