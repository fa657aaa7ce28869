#pragma once

#include <cstdint>
#include <vector>

// What the cdaudio device needs of a CD drive (or a disc image standing in for one).
// Sectors are logical sector numbers: 0 is the start of the program area, 75 per second,
// 150 sectors after the disc's absolute time 00:00:00.
namespace orvane::platform {

inline constexpr std::uint32_t kCdFramesPerSecond = 75;
inline constexpr std::uint32_t kCdLeadIn = 150;  // sectors before sector 0 in absolute time

struct CdTrack {
  std::uint32_t number = 0;
  std::uint32_t start = 0;  // first sector
  bool audio = true;
};

struct CdToc {
  std::vector<CdTrack> tracks;  // in disc order, numbers ascending
  std::uint32_t leadOut = 0;    // first sector after the last track
};

struct CdPlayback {
  enum class State { Idle, Playing, Paused, Ended, Failed };
  State state = State::Idle;
  std::uint32_t sector = 0;  // where playback stands (the end sector once Ended)
};

class CdDrive {
 public:
  virtual ~CdDrive() = default;
  // Reads the table of contents of the disc in the drive; false with no readable disc.
  virtual bool ReadToc(CdToc& toc) = 0;
  // True when the disc may have been changed since the last ReadToc.
  virtual bool DiscChanged() = 0;
  // Plays sectors [first, end), replacing whatever plays; false if it cannot start.
  virtual bool Play(std::uint32_t first, std::uint32_t end) = 0;
  virtual void Pause() = 0;
  virtual bool Resume() = 0;
  virtual void Stop() = 0;
  virtual CdPlayback Playback() = 0;
};

}  // namespace orvane::platform
