#pragma once

#include <memory>
#include <optional>

#include "platform/linux/mci/cd_drive.h"
#include "platform/linux/mci/mci_device.h"

// The MCI device "cdaudio": track numbers, positions and lengths of the disc in its drive
// in the time formats msf (the default), tmsf and milliseconds, and play, stop, pause and
// seek over the drive.
namespace orvane::platform {

class CdAudioDevice final : public MciDevice {
 public:
  explicit CdAudioDevice(std::unique_ptr<CdDrive> drive);
  ~CdAudioDevice() override;

  void Refresh() override;
  bool Busy() override;
  std::uint32_t Play(std::optional<std::uint32_t> from, std::optional<std::uint32_t> to) override;
  std::uint32_t Stop() override;
  std::uint32_t Pause() override;
  std::uint32_t Resume() override;
  std::uint32_t Seek(MciSeekTarget target, std::uint32_t position) override;
  std::uint32_t Status(MciStatusItem item, std::optional<std::uint32_t> track,
                       MciReply& reply) override;
  std::uint32_t SetTimeFormat(MciTimeFormat format) override;

 private:
  enum class Mode { Stopped, Playing, Paused };

  std::uint32_t LoadDisc();
  std::uint32_t Here();
  void Halt();

  std::unique_ptr<CdDrive> drive_;
  std::optional<CdToc> toc_;
  MciTimeFormat format_ = MciTimeFormat::Msf;
  Mode mode_ = Mode::Stopped;
  std::uint32_t position_ = 0;  // where a stopped disc stands
  std::uint32_t end_ = 0;       // end of the range that plays
  bool toEnd_ = false;          // the range runs to the end of the disc
};

// The disc arithmetic behind the device, on its own so that it can be tested with any TOC.
namespace cd {

// True for a table a disc can have: 1 to 99 tracks, ascending, all before the lead-out.
bool IsPlausible(const CdToc& toc);
// The track holding `sector`, as an index into toc.tracks (the last one at or past the end).
std::size_t TrackIndexAt(const CdToc& toc, std::uint32_t sector);
std::uint32_t TrackEnd(const CdToc& toc, std::size_t index);
const CdTrack* FindTrack(const CdToc& toc, std::uint32_t number);

// A packed MCI position in `format` as a sector; nullopt when it lies off the disc or its
// fields are out of range (seconds past 59, frames past 74, an unknown track).
std::optional<std::uint32_t> SectorOf(const CdToc& toc, MciTimeFormat format, std::uint32_t packed);
// A sector as a position reply in `format` (tmsf relative to its track).
MciReply PositionReply(const CdToc& toc, MciTimeFormat format, std::uint32_t sector);
// A length in sectors as a reply: milliseconds, or msf for both msf and tmsf.
MciReply LengthReply(MciTimeFormat format, std::uint32_t sectors);

}  // namespace cd

}  // namespace orvane::platform
