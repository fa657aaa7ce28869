#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The Windows multimedia functions the host's music module was written against:
// MCI command strings, their error texts, PlaySound and the count of wave outputs.
namespace orvane::platform {

// The PlaySound flags the music module uses, with their Windows values.
inline constexpr std::uint32_t SND_ASYNC = 0x0001;
inline constexpr std::uint32_t SND_LOOP = 0x0008;
inline constexpr std::uint32_t SND_FILENAME = 0x00020000;

class Multimedia {
 public:
  virtual ~Multimedia() = default;

  // mciSendStringA: runs one command string (text up to its first NUL) and returns 0 or an
  // MCI error code. The reply, NUL-terminated, goes to reply[0..replyLength); with no buffer
  // (nullptr or length 0) it is dropped. On error the buffer holds "".
  virtual std::uint32_t MciSendString(std::string_view command, char* reply,
                                      std::uint32_t replyLength) = 0;

  // mciGetErrorStringA: the text for an error code, NUL-terminated and cut to fit the buffer.
  // False for a code without a text (the buffer then holds "").
  virtual bool MciGetErrorString(std::uint32_t code, char* text, std::uint32_t length) = 0;

  // PlaySoundA with no module handle: plays the WAV file `name` (nullptr stops the sound).
  virtual bool PlaySound(const char* name, std::uint32_t flags) = 0;

  // waveOutGetNumDevs: how many audio outputs can be opened; 0 when none.
  virtual std::uint32_t WaveOutGetNumDevs() = 0;
};

// What the real multimedia system plays through. The defaults are the machine's own:
// the sound server's default output and the default CD drive.
struct MultimediaOptions {
  // A GStreamer bin description for the audio output ("fakesink sync=true", say);
  // empty for the sound server's default output (pulsesink, and nothing else).
  std::string audioSink;
  // The CD source: a drive's device node or a CUE sheet of a disc image; empty for the
  // default drive.
  std::string cdSource;
};

// The real one. On Linux: the MCI commands the music module sends, for "cdaudio" (libcdio) and
// a file of type "MPEGVideo" (any audio file GStreamer decodes), and its looping PlaySound, on
// GStreamer. It runs on the caller's thread and GLib main context, prints nothing, and answers
// correctly whether or not a main loop runs.
std::unique_ptr<Multimedia> CreateSystemMultimedia(const MultimediaOptions& options = {});

}  // namespace orvane::platform
