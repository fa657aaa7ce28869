#pragma once

#include <cstdint>
#include <string>

namespace orvane::platform {
class Multimedia;
}

// The music module: a CD through MCI "cdaudio", an MP3 through "MPEGVideo" as "MP3Play", or a
// WAV looping through PlaySound; it fails silently.
namespace orvane {

// True while CD polling may go on; the saver window stops its CD timer once a poll clears it.
extern bool BGM_CDPollOn;

// The caller keeps multimedia alive; until this call every command fails as with none at all.
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

// The MCI result, the reply or error text in reply; -1 for an empty command, which is not sent.
std::int32_t BGM_MciSend(const std::string& command, std::string& reply);
// The reply text, or "Error:" followed by the result code on failure.
std::string BGM_MciQuery(const std::string& command);
// Sends "play " + device, with " from " + from and " to " + to where they are not empty.
std::int32_t BGM_MciPlay(const std::string& device, const std::string& from, const std::string& to);

}  // namespace orvane
