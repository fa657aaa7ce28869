#include "platform/linux/mci/cd_drive_cdio.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>
#include <gst/app/gstappsrc.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>

#include "platform/linux/mci/gst_pipeline_gst.h"

namespace orvane::platform {
namespace {

constexpr std::uint32_t kSectorBytes = CDIO_CD_FRAMESIZE_RAW;  // 2352: 588 stereo samples
constexpr std::uint32_t kSectorsPerBuffer = 14;                // about 0.19 s
constexpr int kReadRetries = 3;

void Quiet(cdio_log_level_t, const char*) {}

bool IsCueSheet(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext == ".cue";
}

class CdioDrive final : public CdDrive {
 public:
  CdioDrive(std::string source, bool image, std::string audioSink)
      : source_(std::move(source)), image_(image), audioSink_(std::move(audioSink)) {}

  ~CdioDrive() override {
    pipeline_.reset();  // ends the streaming thread before the reader goes
    CloseDisc();
  }

  bool ReadToc(CdToc& toc) override {
    if (cdio_ == nullptr) {
      cdio_ = cdio_open(source_.c_str(), image_ ? DRIVER_BINCUE : DRIVER_DEVICE);
      if (cdio_ == nullptr) return false;
    }
    const track_t first = cdio_get_first_track_num(cdio_);
    const track_t count = cdio_get_num_tracks(cdio_);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) {
      CloseDisc();
      return false;
    }
    toc = {};
    for (unsigned t = first; t < unsigned{first} + count; ++t) {
      const lsn_t start = cdio_get_track_lsn(cdio_, static_cast<track_t>(t));
      if (start == CDIO_INVALID_LSN || start < 0) {
        CloseDisc();
        return false;
      }
      const bool audio =
          cdio_get_track_format(cdio_, static_cast<track_t>(t)) == TRACK_FORMAT_AUDIO;
      toc.tracks.push_back({t, static_cast<std::uint32_t>(start), audio});
    }
    const lsn_t leadOut = cdio_get_track_lsn(cdio_, CDIO_CDROM_LEADOUT_TRACK);
    if (leadOut == CDIO_INVALID_LSN || leadOut < 0) {
      CloseDisc();
      return false;
    }
    toc.leadOut = static_cast<std::uint32_t>(leadOut);
    OpenReader();
    return true;
  }

  bool DiscChanged() override {
    if (image_ || cdio_ == nullptr) return false;
    if (cdio_get_media_changed(cdio_) != 1) return false;
    // The table of contents is read once per open, so a new disc needs a new open.
    pipeline_.reset();
    CloseDisc();
    return true;
  }

  bool Play(std::uint32_t first, std::uint32_t end) override {
    if (cdio_ == nullptr) return false;
    if (!pipeline_ && !BuildPipeline()) return false;
    pipeline_->SetState(GST_STATE_NULL);  // joins the streaming thread
    pipeline_->Drain();
    first_ = first;
    next_ = first;
    end_ = end;
    readFailed_ = false;
    ended_ = false;
    failed_ = false;
    if (paranoia_ != nullptr) cdio_paranoia_seek(paranoia_, static_cast<int32_t>(first), SEEK_SET);
    if (pipeline_->SetState(GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
      pipeline_->SetState(GST_STATE_NULL);
      return false;
    }
    playing_ = true;
    paused_ = false;
    return true;
  }

  void Pause() override {
    if (!playing_) return;
    pipeline_->SetState(GST_STATE_PAUSED);
    paused_ = true;
  }

  bool Resume() override {
    if (!playing_) return false;
    paused_ = false;
    return pipeline_->SetState(GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
  }

  void Stop() override {
    if (pipeline_) pipeline_->SetState(GST_STATE_NULL);
    playing_ = false;
    paused_ = false;
  }

  CdPlayback Playback() override {
    if (!playing_) return {};
    pipeline_->Drain();
    if (failed_ || readFailed_) return {CdPlayback::State::Failed, Sector()};
    if (ended_) return {CdPlayback::State::Ended, end_};
    return {paused_ ? CdPlayback::State::Paused : CdPlayback::State::Playing, Sector()};
  }

 private:
  void OpenReader() {
    if (paranoia_ != nullptr || cdio_ == nullptr) return;
    cdda_ = cdio_cddap_identify_cdio(cdio_, CDDA_MESSAGE_FORGETIT, nullptr);
    if (cdda_ != nullptr && cdio_cddap_open(cdda_) == 0) {
      paranoia_ = cdio_paranoia_init(cdda_);
      // An image holds exactly what was read; there is nothing to correct.
      cdio_paranoia_modeset(
          paranoia_, image_ ? PARANOIA_MODE_DISABLE : PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    } else if (cdda_ != nullptr) {
      cdio_cddap_close_no_free_cdio(cdda_);
      cdda_ = nullptr;
    }
  }

  void CloseDisc() {
    if (paranoia_ != nullptr) cdio_paranoia_free(paranoia_);
    if (cdda_ != nullptr) cdio_cddap_close_no_free_cdio(cdda_);
    if (cdio_ != nullptr) cdio_destroy(cdio_);
    paranoia_ = nullptr;
    cdda_ = nullptr;
    cdio_ = nullptr;
    playing_ = false;
  }

  bool BuildPipeline() {
    GstCaps* caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "rate",
                                        G_TYPE_INT, 44100, "channels", G_TYPE_INT, 2, "layout",
                                        G_TYPE_STRING, "interleaved", nullptr);
    GstElement* pipeline =
        gst::MakeAppSourcePipeline(audioSink_, caps, guint64{kSectorBytes * kSectorsPerBuffer * 4},
                                   &CdioDrive::NeedData, this);
    gst_caps_unref(caps);
    if (pipeline == nullptr) return false;
    pipeline_ = std::make_unique<gst::Pipeline>(pipeline, [this](GstMessage* m) { OnMessage(m); });
    return true;
  }

  void OnMessage(GstMessage* message) {
    switch (GST_MESSAGE_TYPE(message)) {
      case GST_MESSAGE_EOS:
        ended_ = true;
        break;
      case GST_MESSAGE_ERROR:
        failed_ = true;
        break;
      default:
        break;
    }
  }

  // Runs on the streaming thread; the UI thread touches the reader only while the pipeline
  // is stopped.
  static void NeedData(GstAppSrc* source, guint, gpointer self) {
    static_cast<CdioDrive*>(self)->Feed(source);
  }

  void Feed(GstAppSrc* source) {
    if (next_ >= end_ || readFailed_) {
      gst_app_src_end_of_stream(source);
      return;
    }
    const std::uint32_t sectors = std::min(kSectorsPerBuffer, end_ - next_);
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, gsize{sectors} * kSectorBytes, nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    bool ok = true;
    for (std::uint32_t i = 0; i < sectors && ok; ++i) {
      std::uint8_t* out = map.data + gsize{i} * kSectorBytes;
      if (paranoia_ != nullptr) {
        const int16_t* samples = cdio_paranoia_read_limited(paranoia_, nullptr, kReadRetries);
        ok = samples != nullptr;
        if (ok) std::memcpy(out, samples, kSectorBytes);
      } else {
        ok = cdio_read_audio_sectors(cdio_, out, static_cast<lsn_t>(next_ + i), 1) ==
             DRIVER_OP_SUCCESS;
      }
    }
    gst_buffer_unmap(buffer, &map);
    if (!ok) {
      gst_buffer_unref(buffer);
      readFailed_ = true;
      gst_app_src_end_of_stream(source);
      return;
    }
    GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(next_ - first_, GST_SECOND, kCdFramesPerSecond);
    GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(sectors, GST_SECOND, kCdFramesPerSecond);
    next_ += sectors;
    gst_app_src_push_buffer(source, buffer);
  }

  // Where the listener is: the pipeline's position past the first sector played.
  std::uint32_t Sector() const {
    gint64 position = 0;
    if (!gst_element_query_position(pipeline_->get(), GST_FORMAT_TIME, &position) || position < 0) {
      return first_;
    }
    const std::uint64_t offset =
        gst_util_uint64_scale(static_cast<guint64>(position), kCdFramesPerSecond, GST_SECOND);
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(first_ + offset, end_));
  }

  const std::string source_;
  const bool image_;
  const std::string audioSink_;
  CdIo_t* cdio_ = nullptr;
  cdrom_drive_t* cdda_ = nullptr;
  cdrom_paranoia_t* paranoia_ = nullptr;
  std::unique_ptr<gst::Pipeline> pipeline_;
  // Set by the UI thread while the pipeline is stopped, read by the streaming thread.
  std::uint32_t first_ = 0;
  std::uint32_t next_ = 0;
  std::uint32_t end_ = 0;
  std::atomic<bool> readFailed_{false};
  bool ended_ = false;
  bool failed_ = false;
  bool playing_ = false;
  bool paused_ = false;
};

}  // namespace

std::unique_ptr<CdDrive> OpenCdDrive(const std::string& source, const std::string& audioSink) {
  gst::Initialise();
  static std::once_flag quiet;
  std::call_once(quiet, [] { cdio_log_set_handler(&Quiet); });

  if (source.empty()) {
    char** drives = cdio_get_devices(DRIVER_DEVICE);
    if (drives == nullptr || drives[0] == nullptr) {
      if (drives != nullptr) cdio_free_device_list(drives);
      return nullptr;
    }
    std::string first = drives[0];
    cdio_free_device_list(drives);
    return OpenCdDrive(first, audioSink);
  }
  struct stat info {};
  if (stat(source.c_str(), &info) != 0) return nullptr;
  const bool image = IsCueSheet(source);
  if (image && !S_ISREG(info.st_mode)) return nullptr;
  return std::make_unique<CdioDrive>(source, image, audioSink);
}

}  // namespace orvane::platform
