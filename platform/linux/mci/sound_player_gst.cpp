#include "platform/linux/mci/sound_player_gst.h"

#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/linux/mci/gst_pipeline_gst.h"
#include "platform/linux/mci/sound_loop.h"
#include "platform/multimedia.h"

namespace orvane::platform {
namespace {

// A regular file whose first bytes are a RIFF header of form "WAVE".
bool IsWaveFile(const char* path) {
  struct stat info {};
  if (stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  std::FILE* file = std::fopen(path, "rbe");
  if (file == nullptr) return false;
  char head[12];
  const bool wave = std::fread(head, 1, sizeof head, file) == sizeof head &&
                    std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0;
  std::fclose(file);
  return wave;
}

// How long the start of a looping sound may take to decode.
constexpr gint64 kDecodeWaitUs = 1000000;

// A start decoded to more than this is played from its file, however short it is.
constexpr std::size_t kMaxClipBytes = std::size_t{16} << 20;

struct CapsUnref {
  void operator()(GstCaps* caps) const { gst_caps_unref(caps); }
};
using Caps = std::unique_ptr<GstCaps, CapsUnref>;

// The start of a sound, decoded to 16-bit interleaved samples at its own rate: the whole sound
// when it is shorter than a pass, else at least a pass of it.
struct DecodedStart {
  bool whole = false;
  Caps caps;
  int rate = 0;
  std::size_t frameBytes = 0;
  std::vector<std::uint8_t> bytes;
};

// Pulls decoded samples until the sound ends, a pass is full or the format changes (a stream
// without a rate, or one whose format changes, is played from its file); nullopt when it fails
// or takes longer than kDecodeWaitUs.
std::optional<DecodedStart> Pull(gst::Pipeline& pipeline, GstAppSink* sink) {
  DecodedStart d;
  std::size_t passBytes = 0;
  const gint64 deadline = g_get_monotonic_time() + kDecodeWaitUs;
  while (g_get_monotonic_time() < deadline) {
    pipeline.Drain();
    if (pipeline.failed()) return std::nullopt;
    GstSample* sample = gst_app_sink_try_pull_sample(sink, 10 * GST_MSECOND);
    if (sample == nullptr) {
      d.whole = gst_app_sink_is_eos(sink);
      if (d.whole) return d;
      continue;
    }
    GstCaps* caps = gst_sample_get_caps(sample);
    if (!d.caps && caps != nullptr) {
      const GstStructure* s = gst_caps_get_structure(caps, 0);
      int channels = 0;
      if (gst_structure_get_int(s, "rate", &d.rate) &&
          gst_structure_get_int(s, "channels", &channels) && d.rate > 0 && channels > 0) {
        d.caps.reset(gst_caps_ref(caps));
        d.frameBytes = std::size_t{2} * static_cast<std::size_t>(channels);
        passBytes = static_cast<std::size_t>(d.rate) * kLoopPassMs / 1000 * d.frameBytes;
      }
    }
    bool enough = !d.caps || caps == nullptr || !gst_caps_is_equal(caps, d.caps.get());
    GstMapInfo map;
    if (!enough && gst_buffer_map(gst_sample_get_buffer(sample), &map, GST_MAP_READ)) {
      d.bytes.insert(d.bytes.end(), map.data, map.data + map.size);
      gst_buffer_unmap(gst_sample_get_buffer(sample), &map);
      enough = d.bytes.size() >= passBytes || d.bytes.size() > kMaxClipBytes;
    }
    gst_sample_unref(sample);
    if (enough) return d;
  }
  return std::nullopt;
}

// Decodes the start of `uri` on a pipeline of its own.
std::optional<DecodedStart> DecodeStart(const std::string& uri) {
  GstElement* launched = gst_parse_launch(
      "uridecodebin name=in ! audioconvert ! appsink name=out sync=false max-buffers=8 "
      "caps=audio/x-raw,format=S16LE,layout=interleaved",
      nullptr);
  if (launched == nullptr) return std::nullopt;
  gst::Pipeline pipeline(launched);
  GstElement* in = gst_bin_get_by_name(GST_BIN(pipeline.get()), "in");
  GstElement* out = gst_bin_get_by_name(GST_BIN(pipeline.get()), "out");
  std::optional<DecodedStart> start;
  if (in != nullptr && out != nullptr) {
    g_object_set(in, "uri", uri.c_str(), nullptr);
    if (pipeline.SetState(GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) {
      start = Pull(pipeline, GST_APP_SINK(out));
    }
    pipeline.SetState(GST_STATE_NULL);
  }
  if (in != nullptr) gst_object_unref(in);
  if (out != nullptr) gst_object_unref(out);
  return start;
}

}  // namespace

SoundPlayer::SoundPlayer(std::string audioSink) : audioSink_(std::move(audioSink)) {
  gst::Initialise();
}

SoundPlayer::~SoundPlayer() = default;

bool SoundPlayer::Play(const char* name, std::uint32_t flags) {
  pipeline_.reset();  // first: it goes with its threads, which read the members below
  if (name == nullptr) return true;
  if ((flags & ~SND_FILENAME) != (SND_ASYNC | SND_LOOP) || !IsWaveFile(name)) return false;
  gchar* uri = gst_filename_to_uri(name, nullptr);
  if (uri == nullptr) return false;
  uri_ = uri;
  g_free(uri);
  std::optional<DecodedStart> start = DecodeStart(uri_);
  if (!start) return false;
  GstElement* pipeline = nullptr;
  if (!start->whole) {
    // At least a pass long: played from its file, queued again each time playbin is about to
    // run out, so the loop has no gap.
    pipeline = gst::MakePlaybin(uri_.c_str(), audioSink_);
    if (pipeline != nullptr) {
      g_signal_connect(pipeline, "about-to-finish", G_CALLBACK(&SoundPlayer::AboutToFinish), this);
    }
  } else {
    // Shorter: played from memory, each pass one block of whole copies of it, so a sound of a
    // few samples costs no more than a long one. An empty one loops as silence.
    const std::size_t framesPerPass = static_cast<std::size_t>(start->rate) * kLoopPassMs / 1000;
    block_ = LoopBlock(start->bytes, start->frameBytes, framesPerPass);
    if (block_.empty()) return true;
    rate_ = static_cast<guint64>(start->rate);
    blockFrames_ = block_.size() / start->frameBytes;
    framesSent_ = 0;
    // The queue holds one block, so a new one is asked for once a pass.
    pipeline = gst::MakeAppSourcePipeline(audioSink_, start->caps.get(), guint64{block_.size()},
                                          &SoundPlayer::NeedData, this);
  }
  if (pipeline == nullptr) return false;
  pipeline_ = std::make_unique<gst::Pipeline>(pipeline);
  if (pipeline_->SetState(GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) return true;
  pipeline_.reset();
  return false;
}

// Runs on a streaming thread.
void SoundPlayer::AboutToFinish(GstElement* playbin, gpointer self) {
  g_object_set(playbin, "uri", static_cast<SoundPlayer*>(self)->uri_.c_str(), nullptr);
}

// Runs on the streaming thread, which alone touches framesSent_ while the pipeline runs.
void SoundPlayer::NeedData(GstAppSrc* source, guint, gpointer self) {
  auto& player = *static_cast<SoundPlayer*>(self);
  std::vector<std::uint8_t>& block = player.block_;
  GstBuffer* buffer = gst_buffer_new_wrapped_full(GST_MEMORY_FLAG_READONLY, block.data(),
                                                  block.size(), 0, block.size(), nullptr, nullptr);
  GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(player.framesSent_, GST_SECOND, player.rate_);
  GST_BUFFER_DURATION(buffer) =
      gst_util_uint64_scale(player.blockFrames_, GST_SECOND, player.rate_);
  player.framesSent_ += player.blockFrames_;
  gst_app_src_push_buffer(source, buffer);
}

}  // namespace orvane::platform
