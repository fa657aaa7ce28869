#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

#include "common/ascii_case.h"
#include "platform/linux/mci/gst_pipeline_gst.h"
#include "platform/linux/mci/mci_command.h"

namespace orvane::platform {
namespace {

constexpr std::uint32_t kSectorBytes = CDIO_CD_FRAMESIZE_RAW;  // 2352: 588 stereo samples
constexpr std::uint32_t kSectorsPerSecond = 75;
constexpr std::uint32_t kSectorsPerBuffer = 14;  // about 0.19 s
constexpr int kReadRetries = 3;

void Quiet(cdio_log_level_t, const char*) {}

// Sectors are logical sector numbers: 0 is the start of the program area.
struct Track {
  unsigned number;
  std::uint32_t start;
  bool audio;
};

class CdPlayer final : public MciPlayer {
 public:
  CdPlayer(std::string source, bool image, std::string audioSink)
      : source_(std::move(source)), image_(image), audioSink_(std::move(audioSink)) {}

  ~CdPlayer() override {
    pipeline_.reset();  // ends the streaming thread before the reader goes
    CloseDisc();
  }

  std::uint32_t Run(const MciCommand& command, std::string& reply) override {
    Refresh();
    // Positions are always tmsf, the one format the module sets.
    if (command.action == MciAction::SetTmsf) return 0;
    if (command.action == MciAction::Stop) {
      Halt();
      return 0;
    }
    if (!LoadDisc()) return MCIERR_HARDWARE;
    switch (command.action) {
      case MciAction::Mode:
        reply = pipeline_ ? "playing" : "stopped";
        return 0;
      case MciAction::Track:
        reply = std::to_string(tracks_[IndexAt(Here())].number);
        return 0;
      case MciAction::TrackCount:
        reply = std::to_string(tracks_.size());
        return 0;
      case MciAction::TrackStart: {
        const Track* track = Find(TrackOfPosition(*command.argument));
        if (track == nullptr) return MCIERR_OUTOFRANGE;
        reply = (track->number < 10 ? "0" : "") + std::to_string(track->number) + ":00:00:00";
        return 0;
      }
      case MciAction::Play:
        return Play(command.argument);
      default:
        return MCIERR_UNRECOGNIZED_COMMAND;
    }
  }

 private:
  // Takes in what happened since the last command: a disc played to its end stands at its
  // start again, so that the next play without a position plays it once more; one that failed
  // has most likely gone, and its table is read again before it is trusted.
  void Refresh() {
    if (!pipeline_) return;
    const bool failed = pipeline_->failed() || readFailed_;
    if (!pipeline_->ended() && !failed) return;
    Halt();
    if (failed) CloseDisc();
    if (!tracks_.empty()) position_ = tracks_.front().start;
  }

  // Reads the table of contents once per open; false with no readable disc.
  bool LoadDisc() {
    if (!tracks_.empty()) return true;
    if (cdio_ == nullptr)
      cdio_ = cdio_open(source_.c_str(), image_ ? DRIVER_BINCUE : DRIVER_DEVICE);
    if (cdio_ == nullptr) return false;
    const track_t first = cdio_get_first_track_num(cdio_);
    const track_t count = cdio_get_num_tracks(cdio_);
    const lsn_t leadOut = cdio_get_track_lsn(cdio_, CDIO_CDROM_LEADOUT_TRACK);
    bool ok = first != CDIO_INVALID_TRACK && count != CDIO_INVALID_TRACK && count > 0 &&
              first + count <= 100 && leadOut > 0;
    // Only a table a disc can have: tracks ascending, all before the lead-out.
    for (unsigned t = first; ok && t < unsigned{first} + count; ++t) {
      const lsn_t start = cdio_get_track_lsn(cdio_, static_cast<track_t>(t));
      ok =
          start >= 0 && start < leadOut && (tracks_.empty() || start > lsn_t(tracks_.back().start));
      const bool audio =
          cdio_get_track_format(cdio_, static_cast<track_t>(t)) == TRACK_FORMAT_AUDIO;
      tracks_.push_back({t, static_cast<std::uint32_t>(start), audio});
    }
    // The audio is read with paranoia, which corrects a drive's errors; an image holds exactly
    // what was read, and there is nothing to correct.
    if (ok) cdda_ = cdio_cddap_identify_cdio(cdio_, CDDA_MESSAGE_FORGETIT, nullptr);
    if (cdda_ != nullptr && cdio_cddap_open(cdda_) == 0) paranoia_ = cdio_paranoia_init(cdda_);
    if (paranoia_ == nullptr) {
      CloseDisc();
      return false;
    }
    cdio_paranoia_modeset(
        paranoia_, image_ ? PARANOIA_MODE_DISABLE : PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    leadOut_ = static_cast<std::uint32_t>(leadOut);
    position_ = tracks_.front().start;
    return true;
  }

  void CloseDisc() {
    if (paranoia_ != nullptr) cdio_paranoia_free(paranoia_);
    if (cdda_ != nullptr) cdio_cddap_close_no_free_cdio(cdda_);
    if (cdio_ != nullptr) cdio_destroy(cdio_);
    paranoia_ = nullptr;
    cdda_ = nullptr;
    cdio_ = nullptr;
    tracks_.clear();
  }

  std::size_t IndexAt(std::uint32_t sector) const {
    std::size_t index = 0;
    for (std::size_t i = 0; i < tracks_.size(); ++i) {
      if (tracks_[i].start <= sector) index = i;
    }
    return index;
  }

  const Track* Find(unsigned number) const {
    for (const Track& t : tracks_) {
      if (t.number == number) return &t;
    }
    return nullptr;
  }

  // From the start of a track, or on from where the disc stands.
  std::uint32_t Play(const std::optional<std::string>& from) {
    std::uint32_t start = Here() < leadOut_ ? Here() : tracks_.front().start;
    if (from) {
      const Track* track = Find(TrackOfPosition(*from));
      if (track == nullptr) return MCIERR_OUTOFRANGE;
      start = track->start;
    }
    // Data tracks are not music: start at the next audio track, stop before the next data one.
    std::size_t index = IndexAt(start);
    if (!tracks_[index].audio) {
      while (++index < tracks_.size() && !tracks_[index].audio) {
      }
      if (index == tracks_.size()) return MCIERR_OUTOFRANGE;
      start = tracks_[index].start;
    }
    std::size_t next = index + 1;
    while (next < tracks_.size() && tracks_[next].audio) ++next;
    Halt();
    position_ = first_ = next_ = start;
    end_ = next < tracks_.size() ? tracks_[next].start : leadOut_;
    readFailed_ = false;
    cdio_paranoia_seek(paranoia_, static_cast<int32_t>(start), SEEK_SET);
    GstCaps* caps =
        gst_caps_from_string("audio/x-raw,format=S16LE,rate=44100,channels=2,layout=interleaved");
    GstElement* pipeline = gst::MakeAppSourcePipeline(
        audioSink_, caps, guint64{kSectorBytes * kSectorsPerBuffer * 4}, &CdPlayer::NeedData, this);
    gst_caps_unref(caps);
    if (pipeline == nullptr) return MCIERR_HARDWARE;
    pipeline_ = std::make_unique<gst::Pipeline>(pipeline);
    if (pipeline_->SetState(GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) return 0;
    pipeline_.reset();
    return MCIERR_HARDWARE;
  }

  // Where the disc stands: where it stopped, or where the listener is.
  std::uint32_t Here() const {
    if (!pipeline_) return position_;
    gint64 ns = 0;
    if (!gst_element_query_position(pipeline_->get(), GST_FORMAT_TIME, &ns) || ns < 0)
      return first_;
    const std::uint64_t offset =
        gst_util_uint64_scale(static_cast<guint64>(ns), kSectorsPerSecond, GST_SECOND);
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(first_ + offset, end_));
  }

  // Stops playing; a stopped disc stands where the listener was.
  void Halt() {
    if (!pipeline_) return;
    position_ = Here();
    pipeline_.reset();  // joins the streaming thread
  }

  // Runs on the streaming thread; the UI thread touches the reader only while no pipeline
  // runs.
  static void NeedData(GstAppSrc* source, guint, gpointer self) {
    static_cast<CdPlayer*>(self)->Feed(source);
  }

  void Feed(GstAppSrc* source) {
    if (next_ >= end_) {
      gst_app_src_end_of_stream(source);
      return;
    }
    const std::uint32_t sectors = std::min(kSectorsPerBuffer, end_ - next_);
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, gsize{sectors} * kSectorBytes, nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    bool ok = true;
    for (std::uint32_t i = 0; i < sectors && ok; ++i) {
      const int16_t* samples = cdio_paranoia_read_limited(paranoia_, nullptr, kReadRetries);
      ok = samples != nullptr;
      if (ok) std::memcpy(map.data + gsize{i} * kSectorBytes, samples, kSectorBytes);
    }
    gst_buffer_unmap(buffer, &map);
    if (!ok) {
      gst_buffer_unref(buffer);
      readFailed_ = true;
      gst_app_src_end_of_stream(source);
      return;
    }
    GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(next_ - first_, GST_SECOND, kSectorsPerSecond);
    GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(sectors, GST_SECOND, kSectorsPerSecond);
    next_ += sectors;
    gst_app_src_push_buffer(source, buffer);
  }

  const std::string source_;
  const bool image_;
  const std::string audioSink_;
  CdIo_t* cdio_ = nullptr;
  cdrom_drive_t* cdda_ = nullptr;
  cdrom_paranoia_t* paranoia_ = nullptr;
  std::vector<Track> tracks_;                // empty until a disc's table has been read
  std::uint32_t leadOut_ = 0;                // first sector after the last track
  std::uint32_t position_ = 0;               // where a stopped disc stands
  std::unique_ptr<gst::Pipeline> pipeline_;  // while the disc plays
  // Set by the UI thread while no pipeline runs, read by the streaming thread.
  std::uint32_t first_ = 0;
  std::uint32_t next_ = 0;
  std::uint32_t end_ = 0;
  std::atomic<bool> readFailed_{false};
};

}  // namespace

std::unique_ptr<MciPlayer> OpenCdPlayer(const std::string& source, const std::string& audioSink) {
  static std::once_flag quiet;
  std::call_once(quiet, [] { cdio_log_set_handler(&Quiet); });
  if (source.empty()) {
    char** drives = cdio_get_devices(DRIVER_DEVICE);
    std::string first = drives != nullptr && drives[0] != nullptr ? drives[0] : "";
    if (drives != nullptr) cdio_free_device_list(drives);
    return first.empty() ? nullptr : OpenCdPlayer(first, audioSink);
  }
  struct stat info {};
  if (stat(source.c_str(), &info) != 0) return nullptr;
  const bool image = common::EndsWithIgnoringCase(source, ".cue");
  if (image && !S_ISREG(info.st_mode)) return nullptr;
  return std::make_unique<CdPlayer>(source, image, audioSink);
}

}  // namespace orvane::platform
