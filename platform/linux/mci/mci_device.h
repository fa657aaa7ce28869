#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// What the MCI engine asks of one open device, and the typed replies devices give back.
namespace orvane::platform {

enum class MciTimeFormat {
  Milliseconds,
  Msf,
  Tmsf,
  Frames,
  Hms,
  Smpte24,
  Smpte25,
  Smpte30,
  Smpte30Drop,
  Bytes,
  Samples,
};

enum class MciStatusItem {
  Mode,
  Position,
  Length,
  NumberOfTracks,
  CurrentTrack,
  MediaPresent,
  TimeFormat,
  Ready,
  StartPosition,
  TypeTrack,  // "audio" or "other"; needs a track
};

enum class MciSeekTarget { Position, Start, End };

// A reply before the engine writes it out: integers in plain decimal, times with their
// fields zero-padded and joined by colons ("03:00:00:00").
struct MciReply {
  enum class Kind { None, Integer, Colon3, Colon4, Text, Boolean };
  Kind kind = Kind::None;
  std::uint32_t value = 0;
  std::array<std::uint32_t, 4> fields{};
  std::string text;

  static MciReply Integer(std::uint32_t v) { return {Kind::Integer, v, {}, {}}; }
  static MciReply Boolean(bool v) { return {Kind::Boolean, v ? 1u : 0u, {}, {}}; }
  static MciReply Text(std::string t) { return {Kind::Text, 0, {}, std::move(t)}; }
  static MciReply Msf(std::uint32_t m, std::uint32_t s, std::uint32_t f) {
    return {Kind::Colon3, 0, {m, s, f, 0}, {}};
  }
  static MciReply Tmsf(std::uint32_t t, std::uint32_t m, std::uint32_t s, std::uint32_t f) {
    return {Kind::Colon4, 0, {t, m, s, f}, {}};
  }
};

// The text the engine writes for a reply.
std::string FormatMciReply(const MciReply& reply);

// The name "status ... time format" answers for a format.
const char* MciTimeFormatName(MciTimeFormat format);

// One open device. Positions arrive as the MCI parser packs them (a plain number, or colon
// fields packed low byte first) and mean what the device's time format says. Every
// operation returns 0 or an MCI error code.
class MciDevice {
 public:
  virtual ~MciDevice() = default;
  // Runs before every command on the device, so that it answers from fresh state (a stream
  // that has reached its end, a disc that was changed), main loop or not.
  virtual void Refresh() {}
  // True while it plays or is paused; an auto-opened device stays open only while busy.
  virtual bool Busy() = 0;
  virtual std::uint32_t Play(std::optional<std::uint32_t> from,
                             std::optional<std::uint32_t> to) = 0;
  virtual std::uint32_t Stop() = 0;
  virtual std::uint32_t Pause() = 0;
  virtual std::uint32_t Resume() = 0;
  virtual std::uint32_t Seek(MciSeekTarget target, std::uint32_t position) = 0;
  virtual std::uint32_t Status(MciStatusItem item, std::optional<std::uint32_t> track,
                               MciReply& reply) = 0;
  virtual std::uint32_t SetTimeFormat(MciTimeFormat format) = 0;
};

}  // namespace orvane::platform
