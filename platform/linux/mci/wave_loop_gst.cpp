#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/linux/mci/gst_pipeline_gst.h"
#include "platform/linux/mci/mci_command.h"

namespace orvane::platform {
namespace {

// How long the start of a looping sound may take to decode.
constexpr gint64 kDecodeWaitUs = 1000000;

// A start decoded to more than this is played from its file, however short it is.
constexpr std::size_t kMaxClipBytes = std::size_t{16} << 20;

struct CapsUnref {
  void operator()(GstCaps* caps) const { gst_caps_unref(caps); }
};

// The start of a sound, decoded to 16-bit interleaved samples at its own rate: the whole sound
// when it is shorter than a second, else at least a second of it.
struct DecodedStart {
  bool whole = false;
  std::unique_ptr<GstCaps, CapsUnref> caps;
  std::size_t rate = 0;
  std::size_t frameBytes = 0;
  std::vector<std::uint8_t> bytes;
};

// Pulls decoded samples until the sound ends or a second is full; nullopt when it fails or
// takes longer than kDecodeWaitUs.
std::optional<DecodedStart> Pull(const gst::Pipeline& pipeline, GstAppSink* sink) {
  DecodedStart d;
  const gint64 deadline = g_get_monotonic_time() + kDecodeWaitUs;
  while (!pipeline.failed() && g_get_monotonic_time() < deadline) {
    GstSample* sample = gst_app_sink_try_pull_sample(sink, 10 * GST_MSECOND);
    if (sample == nullptr) {
      d.whole = gst_app_sink_is_eos(sink);
      if (d.whole) return d;
      continue;
    }
    GstCaps* caps = gst_sample_get_caps(sample);
    int rate = 0;
    int channels = 0;
    if (!d.caps && caps != nullptr &&
        gst_structure_get_int(gst_caps_get_structure(caps, 0), "rate", &rate) &&
        gst_structure_get_int(gst_caps_get_structure(caps, 0), "channels", &channels) && rate > 0 &&
        channels > 0) {
      d.caps.reset(gst_caps_ref(caps));
      d.rate = static_cast<std::size_t>(rate);
      d.frameBytes = std::size_t{2} * static_cast<std::size_t>(channels);
    }
    GstMapInfo map;
    const bool mapped = d.caps && gst_buffer_map(gst_sample_get_buffer(sample), &map, GST_MAP_READ);
    if (mapped) {
      d.bytes.insert(d.bytes.end(), map.data, map.data + map.size);
      gst_buffer_unmap(gst_sample_get_buffer(sample), &map);
    }
    gst_sample_unref(sample);
    if (!mapped) return std::nullopt;
    if (d.bytes.size() >= std::min(d.rate * d.frameBytes, kMaxClipBytes)) return d;
  }
  return std::nullopt;
}

// Decodes the start of the file on a pipeline of its own; wavparse takes RIFF WAVE files alone.
std::optional<DecodedStart> DecodeStart(const char* path) {
  GstElement* launched = gst_parse_launch(
      "filesrc name=in ! wavparse ! decodebin ! audioconvert ! appsink name=out sync=false "
      "max-buffers=8 caps=audio/x-raw,format=S16LE,layout=interleaved",
      nullptr);
  if (launched == nullptr) return std::nullopt;
  gst::Pipeline pipeline(launched);
  GstElement* in = gst_bin_get_by_name(GST_BIN(pipeline.get()), "in");
  GstElement* out = gst_bin_get_by_name(GST_BIN(pipeline.get()), "out");
  std::optional<DecodedStart> start;
  if (in != nullptr && out != nullptr) {
    g_object_set(in, "location", path, nullptr);
    if (pipeline.SetState(GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) {
      start = Pull(pipeline, GST_APP_SINK(out));
    }
  }
  if (in != nullptr) gst_object_unref(in);
  if (out != nullptr) gst_object_unref(out);
  return start;
}

// A sound a second long or more plays from its file, queued again each time playbin is about
// to run out, so the loop has no gap. A shorter one plays from memory, each pass one block of
// whole copies of it, so that a sound of a few samples costs no more than a long one.
struct WaveLoop {
  // Run on a streaming thread.
  static void AboutToFinish(GstElement* playbin, gpointer self) {
    g_object_set(playbin, "uri", static_cast<WaveLoop*>(self)->uri.c_str(), nullptr);
  }
  static void NeedData(GstAppSrc* source, guint, gpointer self) {
    auto& loop = *static_cast<WaveLoop*>(self);
    GstBuffer* buffer =
        gst_buffer_new_wrapped_full(GST_MEMORY_FLAG_READONLY, loop.block.data(), loop.block.size(),
                                    0, loop.block.size(), nullptr, nullptr);
    GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(loop.framesSent, GST_SECOND, loop.rate);
    GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(loop.blockFrames, GST_SECOND, loop.rate);
    loop.framesSent += loop.blockFrames;  // by the streaming thread alone
    gst_app_src_push_buffer(source, buffer);
  }

  std::string uri;
  std::vector<std::uint8_t> block;
  guint64 rate = 0;
  guint64 blockFrames = 0;
  guint64 framesSent = 0;
  std::unique_ptr<gst::Pipeline> pipeline;  // last, so that it goes first, with its threads
};

}  // namespace

bool LoopWave(const char* path, const std::string& audioSink, std::shared_ptr<void>& loop) {
  loop.reset();
  std::optional<DecodedStart> start = DecodeStart(path);
  if (!start) return false;
  auto wave = std::make_shared<WaveLoop>();
  GstElement* pipeline = nullptr;
  if (!start->whole) {
    gchar* uri = gst_filename_to_uri(path, nullptr);
    if (uri == nullptr) return false;
    wave->uri = uri;
    g_free(uri);
    pipeline = gst::MakePlaybin(wave->uri.c_str(), audioSink);
    if (pipeline != nullptr) {
      g_signal_connect(pipeline, "about-to-finish", G_CALLBACK(&WaveLoop::AboutToFinish),
                       wave.get());
    }
  } else {
    const std::size_t frames = start->frameBytes == 0 ? 0 : start->bytes.size() / start->frameBytes;
    if (frames == 0) return true;  // nothing to hear: the loop is silence
    // Whole copies, a partial last frame dropped, until they last a second.
    const std::size_t pass = std::min(start->rate, kMaxClipBytes / start->frameBytes);
    start->bytes.resize(frames * start->frameBytes);
    for (std::size_t have = 0; have < std::max(pass, frames); have += frames)
      wave->block.insert(wave->block.end(), start->bytes.begin(), start->bytes.end());
    wave->rate = start->rate;
    wave->blockFrames = wave->block.size() / start->frameBytes;
    // The queue holds one block, so a new one is asked for once a pass.
    pipeline = gst::MakeAppSourcePipeline(audioSink, start->caps.get(), wave->block.size(),
                                          &WaveLoop::NeedData, wave.get());
  }
  if (pipeline == nullptr) return false;
  wave->pipeline = std::make_unique<gst::Pipeline>(pipeline);
  if (wave->pipeline->SetState(GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) return false;
  loop = std::move(wave);
  return true;
}

}  // namespace orvane::platform
