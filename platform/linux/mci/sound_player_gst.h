#pragma once

#include <cstdint>
#include <memory>
#include <string>

// PlaySound on GStreamer as the music module calls it: one WAV file looped without a gap, a
// short one from memory, until it is stopped.
namespace orvane::platform {

class SoundPlayer {
 public:
  explicit SoundPlayer(std::string audioSink);
  ~SoundPlayer();
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // nullptr stops the sound. A name starts it looping, with SND_ASYNC | SND_LOOP and no flag
  // but SND_FILENAME; any other call fails, as does a name that is not a readable RIFF WAVE file
  // or a loop whose start does not decode (there is no default sound).
  bool Play(const char* name, std::uint32_t flags);

  // One sound as it plays; its kinds (from the file, from memory) live with the player.
  class Sound;

 private:
  std::string audioSink_;
  std::unique_ptr<Sound> sound_;
};

}  // namespace orvane::platform
