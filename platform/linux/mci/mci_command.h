#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The MCI command strings the music module sends, read into a few kinds, and what runs them.
// Keywords and device names match without regard to case, as Windows matches them; a quoted
// word may hold blanks, and "" inside it stands for one double quote.
namespace orvane::platform {

enum class MciDevice { None, Cd, File };  // None: a command the module never sends

// Track, TrackCount, Mode and TrackStart are the status items: the current track, the number
// of tracks, the mode, and where a track starts.
enum class MciAction { Open, SetTmsf, Track, TrackCount, Mode, TrackStart, Play, Stop, Close };

struct MciCommand {
  MciDevice device = MciDevice::None;
  MciAction action = MciAction::Open;
  // The file of an open, the track of a position query, the position after "from".
  std::optional<std::string> argument;
};

// Reads the text up to its first NUL.
MciCommand ParseMciCommand(std::string_view text);

// The track a tmsf position names when it is the start of one: "3", "03" or "03:00:00:00";
// 0 for any other text.
unsigned TrackOfPosition(std::string_view position);

// The MCI error codes the stand-in returns, with Windows' values.
inline constexpr std::uint32_t MCIERR_UNRECOGNIZED_COMMAND = 261;
inline constexpr std::uint32_t MCIERR_HARDWARE = 262;
inline constexpr std::uint32_t MCIERR_INVALID_DEVICE_NAME = 263;
inline constexpr std::uint32_t MCIERR_CANNOT_LOAD_DRIVER = 266;
inline constexpr std::uint32_t MCIERR_FILE_NOT_FOUND = 275;
inline constexpr std::uint32_t MCIERR_OUTOFRANGE = 282;
inline constexpr std::uint32_t MCIERR_INVALID_FILE = 296;

// An open device: runs a command meant for it, other than its open and close, and returns 0 or
// an MCI error code, with the reply text in `reply`.
class MciPlayer {
 public:
  virtual ~MciPlayer() = default;
  virtual std::uint32_t Run(const MciCommand& command, std::string& reply) = 0;
};

// "cdaudio" in tmsf: the disc in `source` (a drive's device node or a .cue sheet of an image,
// read with libcdio) or the default drive when it is empty, played through GStreamer. nullptr
// when there is no such drive or image; a drive without a disc opens.
std::unique_ptr<MciPlayer> OpenCdPlayer(const std::string& source, const std::string& audioSink);

// "MPEGVideo": one audio file played through playbin. Waits at most about a second for it to
// be ready: 275 for a file that is not there, 296 for one that cannot be played, 266 without
// playbin or the audio output.
std::uint32_t OpenFilePlayer(const std::string& path, const std::string& audioSink,
                             std::unique_ptr<MciPlayer>& player);

// PlaySound's loop of the RIFF WAVE file at `path`, without a gap, a short one from memory,
// until its owner `loop` goes. False when the file is no WAV or its start does not decode; an
// empty WAV loops as silence.
bool LoopWave(const char* path, const std::string& audioSink, std::shared_ptr<void>& loop);

}  // namespace orvane::platform
