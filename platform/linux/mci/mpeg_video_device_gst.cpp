#include "platform/linux/mci/mpeg_video_device_gst.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "platform/linux/mci/gst_pipeline_gst.h"
#include "platform/mci_errors.h"

namespace orvane::platform {
namespace {

using std::chrono::milliseconds;

// How long a command waits for the pipeline to be ready to play.
constexpr milliseconds kPrerollWait{1000};

// playbin's flags: audio, with its own volume; no video or subtitles, so a file with a
// cover picture opens no window.
constexpr guint kAudioOnly = 0x02 | 0x10;

constexpr gint64 kNsPerMs = 1000000;

std::uint32_t ErrorCodeOf(GError* error) {
  if (error == nullptr) return MCIERR_HARDWARE;
  if (error->domain == GST_STREAM_ERROR) return MCIERR_INVALID_FILE;
  if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN) {
    return MCIERR_INVALID_FILE;
  }
  if (error->domain == GST_RESOURCE_ERROR) {
    if (error->code == GST_RESOURCE_ERROR_NOT_FOUND) return MCIERR_FILE_NOT_FOUND;
    if (error->code == GST_RESOURCE_ERROR_OPEN_READ || error->code == GST_RESOURCE_ERROR_READ) {
      return MCIERR_FILE_READ;
    }
  }
  return MCIERR_HARDWARE;
}

class MpegVideoDevice final : public MciDevice {
 public:
  MpegVideoDevice() = default;

  std::uint32_t Open(const std::string& path, const std::string& audioSink) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return MCIERR_FILE_NOT_FOUND;
    if (!S_ISREG(info.st_mode)) return MCIERR_INVALID_FILE;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return MCIERR_FILE_READ;
    ::close(fd);

    GError* uriError = nullptr;
    gchar* uri = gst_filename_to_uri(path.c_str(), &uriError);
    if (uri == nullptr) {
      g_clear_error(&uriError);
      return MCIERR_FILE_NOT_FOUND;
    }
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    if (playbin == nullptr) {
      g_free(uri);
      return MCIERR_CANNOT_LOAD_DRIVER;
    }
    g_object_set(playbin, "uri", uri, "flags", kAudioOnly, nullptr);
    g_free(uri);
    GstElement* sink = gst::MakeAudioSink(audioSink);
    if (sink == nullptr) {
      gst_object_unref(gst_object_ref_sink(playbin));
      return MCIERR_CANNOT_LOAD_DRIVER;
    }
    g_object_set(playbin, "audio-sink", sink, nullptr);
    pipeline_ = std::make_unique<gst::Pipeline>(playbin, [this](GstMessage* m) { OnMessage(m); });
    if (const std::uint32_t error = Preroll()) return error;
    return 0;
  }

  void Refresh() override { pipeline_->Drain(); }

  bool Busy() override { return want_ != Want::Stopped && !ended_ && !failed_; }

  std::uint32_t Play(std::optional<std::uint32_t> from, std::optional<std::uint32_t> to) override {
    if (failed_) {
      // Build the stream up again, so that a restart after a fault can still play.
      pipeline_->SetState(GST_STATE_NULL);
      if (const std::uint32_t error = Preroll()) return error;
    }
    if (from || to) {
      WaitUntilPrerolled();
      const std::optional<std::uint64_t> length = DurationMs();
      if (length && ((from && *from > *length) || (to && *to > *length))) {
        return MCIERR_OUTOFRANGE;
      }
      const std::uint64_t start = from ? *from : PositionMs();
      if (to && *to < start) return MCIERR_OUTOFRANGE;
      if (!SeekTo(start, to)) return MCIERR_HARDWARE;
      ended_ = false;
      bounded_ = to.has_value();
      stopMs_ = to.value_or(0);
    } else if (ended_) {
      // Play goes on from where the stream stands, and at its end there is nothing left.
      return 0;
    } else if (bounded_) {
      // An earlier "to" would still stop the stream there; play now runs to the end.
      if (!SeekTo(PositionMs(), std::nullopt)) return MCIERR_HARDWARE;
      bounded_ = false;
    }
    if (pipeline_->SetState(GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
      return MCIERR_HARDWARE;
    }
    want_ = Want::Playing;
    return 0;
  }

  std::uint32_t Stop() override {
    if (want_ != Want::Stopped) pipeline_->SetState(GST_STATE_PAUSED);
    want_ = Want::Stopped;
    return 0;
  }

  std::uint32_t Pause() override {
    if (want_ == Want::Playing && !ended_) {
      pipeline_->SetState(GST_STATE_PAUSED);
      want_ = Want::Paused;
    }
    return 0;
  }

  std::uint32_t Resume() override {
    if (want_ != Want::Paused) return 0;
    if (pipeline_->SetState(GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
      return MCIERR_HARDWARE;
    }
    want_ = Want::Playing;
    return 0;
  }

  std::uint32_t Seek(MciSeekTarget target, std::uint32_t position) override {
    WaitUntilPrerolled();
    const std::optional<std::uint64_t> length = DurationMs();
    std::uint64_t at = 0;
    if (target == MciSeekTarget::End) {
      if (!length) return MCIERR_HARDWARE;
      at = *length;
    } else if (target == MciSeekTarget::Position) {
      if (length && position > *length) return MCIERR_OUTOFRANGE;
      at = position;
    }
    pipeline_->SetState(GST_STATE_PAUSED);
    want_ = Want::Stopped;
    if (!SeekTo(at, std::nullopt)) return MCIERR_HARDWARE;
    ended_ = false;
    bounded_ = false;
    return 0;
  }

  std::uint32_t Status(MciStatusItem item, std::optional<std::uint32_t> track,
                       MciReply& reply) override {
    if (track && *track != 1) return MCIERR_OUTOFRANGE;
    switch (item) {
      case MciStatusItem::Mode:
        reply = MciReply::Text(ModeText());
        return 0;
      case MciStatusItem::Position:
        reply = MciReply::Integer(track ? 0 : Clamp(ended_ ? EndMs() : PositionMs()));
        return 0;
      case MciStatusItem::Length:
        WaitUntilPrerolled();
        reply = MciReply::Integer(Clamp(DurationMs().value_or(0)));
        return 0;
      case MciStatusItem::StartPosition:
        reply = MciReply::Integer(0);
        return 0;
      case MciStatusItem::NumberOfTracks:
      case MciStatusItem::CurrentTrack:
        reply = MciReply::Integer(1);
        return 0;
      case MciStatusItem::Ready:
        reply = MciReply::Boolean(prerolled_ && !failed_);
        return 0;
      case MciStatusItem::MediaPresent:
        reply = MciReply::Boolean(true);
        return 0;
      case MciStatusItem::TimeFormat:
        reply = MciReply::Text(MciTimeFormatName(MciTimeFormat::Milliseconds));
        return 0;
      case MciStatusItem::TypeTrack:
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
    return MCIERR_UNSUPPORTED_FUNCTION;
  }

  std::uint32_t SetTimeFormat(MciTimeFormat format) override {
    return format == MciTimeFormat::Milliseconds ? 0 : MCIERR_BAD_TIME_FORMAT;
  }

 private:
  enum class Want { Stopped, Paused, Playing };

  static std::uint32_t Clamp(std::uint64_t v) {
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(v, 0xFFFFFFFFu));
  }

  const char* ModeText() const {
    if (failed_ || ended_) return "stopped";
    switch (want_) {
      case Want::Playing:
        return "playing";
      case Want::Paused:
        return "paused";
      case Want::Stopped:
        return prerolled_ ? "stopped" : "not ready";
    }
    return "stopped";
  }

  // Where a stream that has ended stands: at its "to" position, or at its end.
  std::uint64_t EndMs() const { return bounded_ ? stopMs_ : DurationMs().value_or(0); }

  void OnMessage(GstMessage* message) {
    switch (GST_MESSAGE_TYPE(message)) {
      case GST_MESSAGE_EOS:
        ended_ = true;
        break;
      case GST_MESSAGE_ERROR: {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        if (!failed_) lastError_ = ErrorCodeOf(error);
        g_clear_error(&error);
        failed_ = true;
        break;
      }
      case GST_MESSAGE_ASYNC_DONE:
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(pipeline_->get())) prerolled_ = true;
        break;
      default:
        break;
    }
  }

  // Brings the stream to paused and ready to play; a file that turns out to be unplayable
  // fails here. If it takes longer than the wait, the stream gets ready on its own.
  std::uint32_t Preroll() {
    failed_ = ended_ = prerolled_ = bounded_ = false;
    want_ = Want::Stopped;
    const GstStateChangeReturn r = pipeline_->SetState(GST_STATE_PAUSED);
    if (r == GST_STATE_CHANGE_SUCCESS || r == GST_STATE_CHANGE_NO_PREROLL) prerolled_ = true;
    if (r == GST_STATE_CHANGE_ASYNC) {
      pipeline_->WaitFor(static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR),
                         kPrerollWait);
    }
    pipeline_->Drain();
    if (r == GST_STATE_CHANGE_FAILURE || failed_) {
      pipeline_->SetState(GST_STATE_NULL);
      return failed_ ? lastError_ : MCIERR_INVALID_FILE;
    }
    return 0;
  }

  void WaitUntilPrerolled() {
    if (!prerolled_ && !failed_) {
      pipeline_->WaitFor(static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR),
                         kPrerollWait);
    }
  }

  bool SeekTo(std::uint64_t startMs, std::optional<std::uint32_t> stopMs) {
    const gint64 stop = stopMs ? static_cast<gint64>(*stopMs) * kNsPerMs : -1;
    return gst_element_seek(pipeline_->get(), 1.0, GST_FORMAT_TIME,
                            static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                            GST_SEEK_TYPE_SET, static_cast<gint64>(startMs) * kNsPerMs,
                            GST_SEEK_TYPE_SET, stop) == TRUE;
  }

  std::uint64_t PositionMs() const {
    gint64 position = 0;
    if (!gst_element_query_position(pipeline_->get(), GST_FORMAT_TIME, &position) || position < 0) {
      return 0;
    }
    return static_cast<std::uint64_t>(position / kNsPerMs);
  }

  std::optional<std::uint64_t> DurationMs() const {
    gint64 duration = 0;
    if (!gst_element_query_duration(pipeline_->get(), GST_FORMAT_TIME, &duration) || duration < 0) {
      return std::nullopt;
    }
    return static_cast<std::uint64_t>(duration / kNsPerMs);
  }

  std::unique_ptr<gst::Pipeline> pipeline_;
  Want want_ = Want::Stopped;
  bool ended_ = false;   // the stream has reached its end
  bool failed_ = false;  // the pipeline reported an error
  bool prerolled_ = false;
  bool bounded_ = false;  // a "to" position is in force
  std::uint64_t stopMs_ = 0;
  std::uint32_t lastError_ = MCIERR_HARDWARE;
};

}  // namespace

std::uint32_t OpenMpegVideoDevice(const std::string& path, const std::string& audioSink,
                                  std::unique_ptr<MciDevice>& device) {
  gst::Initialise();
  auto opened = std::make_unique<MpegVideoDevice>();
  if (const std::uint32_t error = opened->Open(path, audioSink)) return error;
  device = std::move(opened);
  return 0;
}

}  // namespace orvane::platform
