#include "platform/linux/mci/sound_player_gst.h"

#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>

#include <atomic>
#include <vector>

#include "platform/linux/mci/gst_pipeline_gst.h"
#include "platform/linux/mci/sound_loop.h"
#include "platform/linux/mci/wave_file.h"
#include "platform/multimedia.h"

namespace orvane::platform {

using std::chrono::milliseconds;

namespace {

// playbin's flags: audio, with its own volume, and nothing else.
constexpr guint kAudioOnly = 0x02 | 0x10;

// How long the start of a looping sound may take to decode.
constexpr milliseconds kDecodeWait{1000};

// A start decoded to more than this is played from its file, however short it is.
constexpr std::size_t kMaxClipBytes = std::size_t{16} << 20;

struct CapsUnref {
  void operator()(GstCaps* caps) const { gst_caps_unref(caps); }
};
using Caps = std::unique_ptr<GstCaps, CapsUnref>;

// The start of a sound, decoded to 16-bit interleaved samples at its own rate, up to one
// pass of the loop.
struct DecodedStart {
  enum class Result { Failed, Whole, Longer };
  Result result = Result::Failed;
  Caps caps;
  int rate = 0;
  std::size_t frameBytes = 0;
  std::size_t framesPerPass = 0;
  std::vector<std::uint8_t> bytes;
  bool enough = false;  // set on the streaming thread; read after the pipeline has stopped

  // Runs on the streaming thread. Stops the decoding once a pass is full.
  static GstFlowReturn OnSample(GstAppSink* sink, gpointer self) {
    auto& d = *static_cast<DecodedStart*>(self);
    GstSample* sample = gst_app_sink_pull_sample(sink);
    if (sample == nullptr) return GST_FLOW_ERROR;
    GstCaps* caps = gst_sample_get_caps(sample);
    if (!d.caps && caps != nullptr) {
      const GstStructure* s = gst_caps_get_structure(caps, 0);
      int channels = 0;
      if (gst_structure_get_int(s, "rate", &d.rate) &&
          gst_structure_get_int(s, "channels", &channels) && d.rate > 0 && channels > 0) {
        d.caps.reset(gst_caps_ref(caps));
        d.frameBytes = std::size_t{2} * static_cast<std::size_t>(channels);
        d.framesPerPass = static_cast<std::size_t>(d.rate) * kLoopPassMs / 1000;
      }
    }
    // A stream without a rate, or one whose format changes, is played from its file.
    bool enough = !d.caps || caps == nullptr || !gst_caps_is_equal(caps, d.caps.get());
    if (GstBuffer* buffer = gst_sample_get_buffer(sample); buffer != nullptr && !enough) {
      GstMapInfo map;
      if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        d.bytes.insert(d.bytes.end(), map.data, map.data + map.size);
        gst_buffer_unmap(buffer, &map);
      }
      enough = d.bytes.size() >= d.framesPerPass * d.frameBytes || d.bytes.size() > kMaxClipBytes;
    }
    gst_sample_unref(sample);
    if (!enough) return GST_FLOW_OK;
    d.enough = true;
    gst_element_post_message(
        GST_ELEMENT(sink),
        gst_message_new_application(GST_OBJECT(sink), gst_structure_new_empty("enough")));
    return GST_FLOW_EOS;
  }
};

// Decodes the start of `uri` on a pipeline of its own, waiting at most kDecodeWait.
DecodedStart DecodeStart(const std::string& uri) {
  DecodedStart d;
  GstElement* pipeline = gst_parse_launch(
      "uridecodebin name=in ! audioconvert ! "
      "appsink name=out sync=false caps=audio/x-raw,format=S16LE,layout=interleaved",
      nullptr);
  if (pipeline == nullptr) return d;
  gst_object_ref_sink(pipeline);
  GstElement* in = gst_bin_get_by_name(GST_BIN(pipeline), "in");
  GstElement* out = gst_bin_get_by_name(GST_BIN(pipeline), "out");
  if (in != nullptr && out != nullptr) {
    g_object_set(in, "uri", uri.c_str(), nullptr);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample = &DecodedStart::OnSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(out), &callbacks, &d, nullptr);
    GstBus* bus = gst_element_get_bus(pipeline);
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) {
      const auto types = static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR |
                                                     GST_MESSAGE_APPLICATION);
      GstMessage* message = gst_bus_timed_pop_filtered(
          bus, static_cast<GstClockTime>(kDecodeWait.count()) * GST_MSECOND, types);
      if (message != nullptr) {
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_APPLICATION) {
          d.result = DecodedStart::Result::Longer;
        } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
          d.result = DecodedStart::Result::Whole;
        }
        gst_message_unref(message);
      }
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(bus);
  }
  if (in != nullptr) gst_object_unref(in);
  if (out != nullptr) gst_object_unref(out);
  gst_object_unref(pipeline);
  if (d.enough) d.result = DecodedStart::Result::Longer;
  return d;
}

}  // namespace

class SoundPlayer::Sound {
 public:
  virtual ~Sound() = default;
  virtual bool Start(const std::string& audioSink) = 0;
  virtual bool Playing() = 0;
  std::uint64_t Passes() const { return passes_.load(); }

 protected:
  std::atomic<std::uint64_t> passes_{0};
};

namespace {

// A sound played from its file on a playbin. A looping one queues its file again each time
// playbin is about to run out, so the loop has no gap; it is at least a pass long.
class FileSound final : public SoundPlayer::Sound {
 public:
  FileSound(std::string uri, bool loop) : uri_(std::move(uri)), loop_(loop) {}

  bool Start(const std::string& audioSink) override {
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    if (playbin == nullptr) return false;
    g_object_set(playbin, "uri", uri_.c_str(), "flags", kAudioOnly, nullptr);
    GstElement* sink = gst::MakeAudioSink(audioSink);
    if (sink == nullptr) {
      gst_object_unref(gst_object_ref_sink(playbin));
      return false;
    }
    g_object_set(playbin, "audio-sink", sink, nullptr);
    if (loop_) {
      g_signal_connect(playbin, "about-to-finish", G_CALLBACK(&FileSound::AboutToFinish), this);
    }
    pipeline_ = std::make_unique<gst::Pipeline>(playbin, [this](GstMessage* m) { OnMessage(m); });
    passes_ = 1;
    return pipeline_->SetState(GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
  }

  // Plays to the end: as long as the sound lasts, and a little more.
  bool WaitForEnd() {
    const auto done = static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR);
    pipeline_->WaitFor(static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | done),
                       milliseconds(1000));
    gint64 duration = 0;
    if (!gst_element_query_duration(pipeline_->get(), GST_FORMAT_TIME, &duration) || duration < 0) {
      duration = 10 * GST_SECOND;
    }
    if (!ended_ && !failed_) {
      pipeline_->WaitFor(done, milliseconds(duration / GST_MSECOND + 1000));
    }
    return ended_ && !failed_;
  }

  bool Playing() override {
    pipeline_->Drain();
    return !ended_ && !failed_;
  }

 private:
  // Runs on a streaming thread.
  static void AboutToFinish(GstElement* playbin, gpointer self) {
    auto* sound = static_cast<FileSound*>(self);
    g_object_set(playbin, "uri", sound->uri_.c_str(), nullptr);
    ++sound->passes_;
  }

  void OnMessage(GstMessage* message) {
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) ended_ = true;
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) failed_ = true;
  }

  const std::string uri_;
  const bool loop_;
  bool ended_ = false;
  bool failed_ = false;
  std::unique_ptr<gst::Pipeline> pipeline_;  // last: it goes first, with its threads
};

// A looping sound shorter than a pass, played from memory: each pass is one block of whole
// copies of it, so a sound of a few samples costs no more than a long one. An empty sound
// loops as silence, with nothing to play.
class ClipLoop final : public SoundPlayer::Sound {
 public:
  ClipLoop(Caps caps, int rate, std::vector<std::uint8_t> block, std::size_t frameBytes)
      : caps_(std::move(caps)),
        rate_(rate),
        blockFrames_(frameBytes == 0 ? 0 : block.size() / frameBytes),
        block_(block.empty() ? nullptr : gst_buffer_new_memdup(block.data(), block.size())) {}

  ~ClipLoop() override {
    pipeline_.reset();
    if (block_ != nullptr) gst_buffer_unref(block_);
  }

  bool Start(const std::string& audioSink) override {
    if (block_ == nullptr) return true;
    // The queue holds one block, so a new one is asked for once a pass.
    GstElement* pipeline = gst::MakeAppSourcePipeline(
        audioSink, caps_.get(), guint64{gst_buffer_get_size(block_)}, &ClipLoop::NeedData, this);
    if (pipeline == nullptr) return false;
    pipeline_ = std::make_unique<gst::Pipeline>(pipeline, [this](GstMessage* m) {
      if (GST_MESSAGE_TYPE(m) == GST_MESSAGE_ERROR) failed_ = true;
    });
    return pipeline_->SetState(GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
  }

  bool Playing() override {
    if (pipeline_) pipeline_->Drain();
    return !failed_;
  }

 private:
  // Runs on the streaming thread, which alone touches framesSent_.
  static void NeedData(GstAppSrc* source, guint, gpointer self) {
    auto& loop = *static_cast<ClipLoop*>(self);
    GstBuffer* buffer = gst_buffer_copy(loop.block_);
    const auto rate = static_cast<guint64>(loop.rate_);
    GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(loop.framesSent_, GST_SECOND, rate);
    GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(loop.blockFrames_, GST_SECOND, rate);
    loop.framesSent_ += loop.blockFrames_;
    ++loop.passes_;
    gst_app_src_push_buffer(source, buffer);
  }

  Caps caps_;
  const int rate_;
  const std::uint64_t blockFrames_;
  GstBuffer* block_;
  std::uint64_t framesSent_ = 0;
  bool failed_ = false;
  std::unique_ptr<gst::Pipeline> pipeline_;
};

}  // namespace

SoundPlayer::SoundPlayer(std::string audioSink) : audioSink_(std::move(audioSink)) {
  gst::Initialise();
}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::Stop() {
  sound_.reset();
}

bool SoundPlayer::Playing() {
  return sound_ && sound_->Playing();
}

std::uint64_t SoundPlayer::Passes() const {
  return sound_ ? sound_->Passes() : 0;
}

bool SoundPlayer::Play(const char* name, std::uint32_t flags) {
  if (name == nullptr) {
    Stop();
    return true;
  }
  if ((flags & SND_MEMORY) != 0) return false;
  if ((flags & SND_LOOP) != 0 && (flags & SND_ASYNC) == 0) return false;
  if ((flags & SND_NOSTOP) != 0 && Playing()) return false;
  Stop();
  const std::string path = FindWaveFile(name);
  if (path.empty()) return false;
  gchar* fileUri = gst_filename_to_uri(path.c_str(), nullptr);
  if (fileUri == nullptr) return false;
  const std::string uri = fileUri;
  g_free(fileUri);

  if ((flags & SND_ASYNC) == 0) {
    FileSound once(uri, false);
    return once.Start(audioSink_) && once.WaitForEnd();
  }
  std::unique_ptr<Sound> sound;
  if ((flags & SND_LOOP) == 0) {
    sound = std::make_unique<FileSound>(uri, false);
  } else {
    DecodedStart start = DecodeStart(uri);
    switch (start.result) {
      case DecodedStart::Result::Failed:
        return false;
      case DecodedStart::Result::Longer:
        sound = std::make_unique<FileSound>(uri, true);
        break;
      case DecodedStart::Result::Whole: {
        std::vector<std::uint8_t> block =
            LoopBlock(start.bytes, start.frameBytes, start.framesPerPass);
        sound = std::make_unique<ClipLoop>(std::move(start.caps), start.rate, std::move(block),
                                           start.frameBytes);
        break;
      }
    }
  }
  if (!sound->Start(audioSink_)) return false;
  sound_ = std::move(sound);
  return true;
}

}  // namespace orvane::platform
