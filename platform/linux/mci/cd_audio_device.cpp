#include "platform/linux/mci/cd_audio_device.h"

#include <algorithm>

#include "platform/mci_errors.h"

namespace orvane::platform {
namespace cd {
namespace {

constexpr std::uint32_t kFramesPerMinute = 60 * kCdFramesPerSecond;

bool Plausible(const CdToc& toc) {
  if (toc.tracks.empty() || toc.tracks.size() > 99) return false;
  for (std::size_t i = 0; i < toc.tracks.size(); ++i) {
    const CdTrack& t = toc.tracks[i];
    if (t.number < 1 || t.number > 99 || t.start >= toc.leadOut) return false;
    if (i > 0 && (t.number <= toc.tracks[i - 1].number || t.start <= toc.tracks[i - 1].start)) {
      return false;
    }
  }
  return true;
}

// Absolute disc time (lead-in included) as a sector of the program area.
std::optional<std::uint32_t> FromAbsolute(const CdToc& toc, std::uint64_t absolute) {
  if (absolute < kCdLeadIn + toc.tracks.front().start) return std::nullopt;
  const std::uint64_t sector = absolute - kCdLeadIn;
  if (sector > toc.leadOut) return std::nullopt;
  return static_cast<std::uint32_t>(sector);
}

MciReply AsMsf(std::uint64_t frames) {
  return MciReply::Msf(static_cast<std::uint32_t>(frames / kFramesPerMinute),
                       static_cast<std::uint32_t>(frames / kCdFramesPerSecond % 60),
                       static_cast<std::uint32_t>(frames % kCdFramesPerSecond));
}

MciReply AsMilliseconds(std::uint64_t frames) {
  const std::uint64_t ms = frames * 1000 / kCdFramesPerSecond;
  return MciReply::Integer(static_cast<std::uint32_t>(std::min<std::uint64_t>(ms, 0xFFFFFFFFu)));
}

}  // namespace

std::size_t TrackIndexAt(const CdToc& toc, std::uint32_t sector) {
  std::size_t index = 0;
  for (std::size_t i = 0; i < toc.tracks.size(); ++i) {
    if (toc.tracks[i].start <= sector) index = i;
  }
  return index;
}

std::uint32_t TrackEnd(const CdToc& toc, std::size_t index) {
  return index + 1 < toc.tracks.size() ? toc.tracks[index + 1].start : toc.leadOut;
}

const CdTrack* FindTrack(const CdToc& toc, std::uint32_t number) {
  for (const CdTrack& t : toc.tracks) {
    if (t.number == number) return &t;
  }
  return nullptr;
}

std::optional<std::uint32_t> SectorOf(const CdToc& toc, MciTimeFormat format,
                                      std::uint32_t packed) {
  const std::uint32_t b0 = packed & 0xFF;
  const std::uint32_t b1 = (packed >> 8) & 0xFF;
  const std::uint32_t b2 = (packed >> 16) & 0xFF;
  const std::uint32_t b3 = (packed >> 24) & 0xFF;
  switch (format) {
    case MciTimeFormat::Msf:
      if (b1 >= 60 || b2 >= kCdFramesPerSecond || b3 != 0) return std::nullopt;
      return FromAbsolute(toc, std::uint64_t{b0} * kFramesPerMinute + b1 * kCdFramesPerSecond + b2);
    case MciTimeFormat::Tmsf: {
      const CdTrack* track = FindTrack(toc, b0);
      if (track == nullptr || b2 >= 60 || b3 >= kCdFramesPerSecond) return std::nullopt;
      const std::uint64_t sector =
          std::uint64_t{track->start} + b1 * kFramesPerMinute + b2 * kCdFramesPerSecond + b3;
      if (sector > toc.leadOut) return std::nullopt;
      return static_cast<std::uint32_t>(sector);
    }
    case MciTimeFormat::Milliseconds:
      return FromAbsolute(toc, std::uint64_t{packed} * kCdFramesPerSecond / 1000);
    default:
      return std::nullopt;
  }
}

MciReply PositionReply(const CdToc& toc, MciTimeFormat format, std::uint32_t sector) {
  switch (format) {
    case MciTimeFormat::Tmsf: {
      const CdTrack& track = toc.tracks[TrackIndexAt(toc, sector)];
      const std::uint32_t offset = sector > track.start ? sector - track.start : 0;
      return MciReply::Tmsf(track.number, offset / kFramesPerMinute,
                            offset / kCdFramesPerSecond % 60, offset % kCdFramesPerSecond);
    }
    case MciTimeFormat::Milliseconds:
      return AsMilliseconds(std::uint64_t{sector} + kCdLeadIn);
    default:
      return AsMsf(std::uint64_t{sector} + kCdLeadIn);
  }
}

MciReply LengthReply(MciTimeFormat format, std::uint32_t sectors) {
  if (format == MciTimeFormat::Milliseconds) return AsMilliseconds(sectors);
  return AsMsf(sectors);
}

bool IsPlausible(const CdToc& toc) {
  return Plausible(toc);
}

}  // namespace cd

CdAudioDevice::CdAudioDevice(std::unique_ptr<CdDrive> drive) : drive_(std::move(drive)) {}

CdAudioDevice::~CdAudioDevice() {
  if (mode_ != Mode::Stopped) drive_->Stop();
}

std::uint32_t CdAudioDevice::LoadDisc() {
  if (toc_) return 0;
  CdToc toc;
  if (!drive_->ReadToc(toc) || !cd::IsPlausible(toc)) return MCIERR_HARDWARE;
  toc_ = std::move(toc);
  position_ = toc_->tracks.front().start;
  return 0;
}

void CdAudioDevice::Refresh() {
  if (mode_ == Mode::Stopped) {
    if (drive_->DiscChanged()) toc_.reset();
    return;
  }
  const CdPlayback playback = drive_->Playback();
  switch (playback.state) {
    case CdPlayback::State::Playing:
    case CdPlayback::State::Paused:
      return;
    case CdPlayback::State::Ended:
      // Played through to the end of the disc: it stands at the start again, so that the
      // next play without a position plays the disc once more.
      position_ = toEnd_ && toc_ ? toc_->tracks.front().start : std::max(playback.sector, end_);
      break;
    case CdPlayback::State::Failed:
      // Most likely the disc has gone; read the table again before trusting it.
      toc_.reset();
      position_ = playback.sector;
      break;
    case CdPlayback::State::Idle:
      break;
  }
  mode_ = Mode::Stopped;
}

bool CdAudioDevice::Busy() {
  return mode_ != Mode::Stopped;
}

std::uint32_t CdAudioDevice::Here() {
  if (mode_ == Mode::Stopped) return position_;
  const CdPlayback playback = drive_->Playback();
  return std::min(playback.sector, toc_ ? toc_->leadOut : playback.sector);
}

void CdAudioDevice::Halt() {
  if (mode_ == Mode::Stopped) return;
  position_ = Here();
  drive_->Stop();
  mode_ = Mode::Stopped;
}

std::uint32_t CdAudioDevice::Play(std::optional<std::uint32_t> from,
                                  std::optional<std::uint32_t> to) {
  if (const std::uint32_t error = LoadDisc()) return error;
  const CdToc& toc = *toc_;
  std::uint32_t start = 0;
  if (from) {
    const auto sector = cd::SectorOf(toc, format_, *from);
    if (!sector) return MCIERR_OUTOFRANGE;
    start = *sector;
  } else {
    start = Here();
    if (start >= toc.leadOut) start = toc.tracks.front().start;
  }
  std::uint32_t end = toc.leadOut;
  if (to) {
    const auto sector = cd::SectorOf(toc, format_, *to);
    if (!sector) return MCIERR_OUTOFRANGE;
    end = *sector;
  }
  if (end < start) return MCIERR_OUTOFRANGE;

  // Data tracks are not music: start at the next audio track, stop before the next data one.
  std::size_t index = cd::TrackIndexAt(toc, start);
  while (index < toc.tracks.size() && !toc.tracks[index].audio) {
    ++index;
    if (index < toc.tracks.size()) start = toc.tracks[index].start;
  }
  if (index == toc.tracks.size()) return MCIERR_OUTOFRANGE;
  for (std::size_t j = index + 1; j < toc.tracks.size(); ++j) {
    if (!toc.tracks[j].audio) {
      end = std::min(end, toc.tracks[j].start);
      break;
    }
  }

  Halt();
  position_ = start;
  if (start >= end) return 0;
  if (!drive_->Play(start, end)) return MCIERR_HARDWARE;
  mode_ = Mode::Playing;
  end_ = end;
  toEnd_ = !to;
  return 0;
}

std::uint32_t CdAudioDevice::Stop() {
  Halt();
  return 0;
}

std::uint32_t CdAudioDevice::Pause() {
  if (mode_ == Mode::Playing) {
    position_ = Here();
    drive_->Pause();
    mode_ = Mode::Paused;
  }
  return 0;
}

std::uint32_t CdAudioDevice::Resume() {
  if (mode_ != Mode::Paused) return 0;
  if (drive_->Resume()) {
    mode_ = Mode::Playing;
    return 0;
  }
  drive_->Stop();
  mode_ = Mode::Stopped;
  return MCIERR_HARDWARE;
}

std::uint32_t CdAudioDevice::Seek(MciSeekTarget target, std::uint32_t packed) {
  if (const std::uint32_t error = LoadDisc()) return error;
  std::uint32_t sector = 0;
  switch (target) {
    case MciSeekTarget::Start:
      sector = toc_->tracks.front().start;
      break;
    case MciSeekTarget::End:
      sector = toc_->leadOut;
      break;
    case MciSeekTarget::Position: {
      const auto at = cd::SectorOf(*toc_, format_, packed);
      if (!at) return MCIERR_OUTOFRANGE;
      sector = *at;
      break;
    }
  }
  Halt();
  position_ = sector;
  return 0;
}

std::uint32_t CdAudioDevice::Status(MciStatusItem item, std::optional<std::uint32_t> track,
                                    MciReply& reply) {
  switch (item) {
    case MciStatusItem::Mode:
      // A paused drive reports "stopped", as the drives of the system this stands in for do.
      if (LoadDisc() != 0) {
        reply = MciReply::Text("open");
      } else {
        reply = MciReply::Text(mode_ == Mode::Playing ? "playing" : "stopped");
      }
      return 0;
    case MciStatusItem::Ready:
    case MciStatusItem::MediaPresent:
      reply = MciReply::Boolean(LoadDisc() == 0);
      return 0;
    case MciStatusItem::TimeFormat:
      reply = MciReply::Text(MciTimeFormatName(format_));
      return 0;
    default:
      break;
  }
  if (const std::uint32_t error = LoadDisc()) return error;
  const CdToc& toc = *toc_;
  const CdTrack* named = nullptr;
  if (track) {
    named = cd::FindTrack(toc, *track);
    if (named == nullptr) return MCIERR_OUTOFRANGE;
  }
  switch (item) {
    case MciStatusItem::NumberOfTracks:
      reply = MciReply::Integer(static_cast<std::uint32_t>(toc.tracks.size()));
      return 0;
    case MciStatusItem::CurrentTrack:
      reply = MciReply::Integer(toc.tracks[cd::TrackIndexAt(toc, Here())].number);
      return 0;
    case MciStatusItem::Position:
      reply = cd::PositionReply(toc, format_, named ? named->start : Here());
      return 0;
    case MciStatusItem::StartPosition:
      reply = cd::PositionReply(toc, format_, toc.tracks.front().start);
      return 0;
    case MciStatusItem::Length:
      if (named) {
        const std::size_t index = static_cast<std::size_t>(named - toc.tracks.data());
        reply = cd::LengthReply(format_, cd::TrackEnd(toc, index) - named->start);
      } else {
        reply = cd::LengthReply(format_, toc.leadOut - toc.tracks.front().start);
      }
      return 0;
    case MciStatusItem::TypeTrack:
      reply = MciReply::Text(named->audio ? "audio" : "other");
      return 0;
    default:
      return MCIERR_UNSUPPORTED_FUNCTION;
  }
}

std::uint32_t CdAudioDevice::SetTimeFormat(MciTimeFormat format) {
  switch (format) {
    case MciTimeFormat::Milliseconds:
    case MciTimeFormat::Msf:
    case MciTimeFormat::Tmsf:
      format_ = format;
      return 0;
    default:
      return MCIERR_BAD_TIME_FORMAT;
  }
}

}  // namespace orvane::platform
