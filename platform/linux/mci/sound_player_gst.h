#pragma once

#include <cstdint>
#include <memory>
#include <string>

// PlaySound on GStreamer: one sound at a time, a WAV file played once or looped without a
// gap, a short one from memory.
namespace orvane::platform {

class SoundPlayer {
 public:
  explicit SoundPlayer(std::string audioSink);
  ~SoundPlayer();
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // PlaySoundA's rules: nullptr stops the sound; SND_LOOP needs SND_ASYNC; SND_NOSTOP fails
  // while a sound plays; a name that is not a readable WAV file plays nothing (there is no
  // default sound), and a loop whose start does not decode fails. A synchronous play returns
  // when the sound has ended.
  bool Play(const char* name, std::uint32_t flags);
  void Stop();
  // True while a sound is playing (the bus is read first).
  bool Playing();
  // How many passes the looping sound has queued: its file again, or a block of copies of a
  // short sound (none for an empty one).
  std::uint64_t Passes() const;

  // One sound as it plays; its kinds (from the file, from memory) live with the player.
  class Sound;

 private:
  std::string audioSink_;
  std::unique_ptr<Sound> sound_;
};

}  // namespace orvane::platform
