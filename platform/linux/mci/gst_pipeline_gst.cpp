#include "platform/linux/mci/gst_pipeline_gst.h"

#include <mutex>

namespace orvane::platform::gst {
namespace {

// The sound server alone: a search of the other outputs (ALSA, OpenAL, …) would print its
// complaints on standard error when no server runs, and find different outputs on different
// machines.
std::string SinkDescription(const std::string& description) {
  return description.empty() ? "pulsesink" : description;
}

}  // namespace

void Initialise() {
  static std::once_flag once;
  std::call_once(once, [] {
    gst_init(nullptr, nullptr);
    gst_debug_remove_log_function(gst_debug_log_default);
    gst_debug_set_active(FALSE);
  });
}

GstElement* MakeAudioSink(const std::string& description) {
  GError* error = nullptr;
  GstElement* bin =
      gst_parse_bin_from_description(SinkDescription(description).c_str(), TRUE, &error);
  if (error == nullptr) return bin;
  g_error_free(error);
  if (bin != nullptr) gst_object_unref(gst_object_ref_sink(bin));
  return nullptr;
}

GstElement* MakePlaybin(const char* uri, const std::string& audioSink) {
  // playbin's flags: audio, with its own volume.
  constexpr guint kAudioOnly = 0x02 | 0x10;
  GstElement* playbin = gst_element_factory_make("playbin", nullptr);
  GstElement* sink = playbin != nullptr ? MakeAudioSink(audioSink) : nullptr;
  if (sink == nullptr) {
    if (playbin != nullptr) gst_object_unref(gst_object_ref_sink(playbin));
    return nullptr;
  }
  g_object_set(playbin, "uri", uri, "flags", kAudioOnly, "audio-sink", sink, nullptr);
  return playbin;
}

GstElement* MakeAppSourcePipeline(const std::string& audioSink, GstCaps* caps, guint64 maxBytes,
                                  void (*needData)(GstAppSrc*, guint, gpointer), gpointer data) {
  const std::string description =
      "appsrc name=in ! audioconvert ! audioresample ! " + SinkDescription(audioSink);
  GError* error = nullptr;
  GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
  GstElement* appsrc = error == nullptr && pipeline != nullptr
                           ? gst_bin_get_by_name(GST_BIN(pipeline), "in")
                           : nullptr;
  if (error != nullptr) g_error_free(error);
  if (appsrc == nullptr) {
    if (pipeline != nullptr) gst_object_unref(gst_object_ref_sink(pipeline));
    return nullptr;
  }
  g_object_set(appsrc, "caps", caps, "format", GST_FORMAT_TIME, "max-bytes", maxBytes, nullptr);
  GstAppSrcCallbacks callbacks{};
  callbacks.need_data = needData;
  gst_app_src_set_callbacks(GST_APP_SRC(appsrc), &callbacks, data, nullptr);
  gst_object_unref(appsrc);
  return pipeline;
}

Pipeline::Pipeline(GstElement* pipeline) : pipeline_(GST_ELEMENT(gst_object_ref_sink(pipeline))) {
  GstBus* bus = gst_element_get_bus(pipeline_);
  gst_bus_set_sync_handler(bus, &Pipeline::Note, this, nullptr);
  gst_object_unref(bus);
}

Pipeline::~Pipeline() {
  gst_element_set_state(pipeline_, GST_STATE_NULL);  // joins the streaming threads
  gst_object_unref(pipeline_);
}

// Runs on the thread that posts the message.
GstBusSyncReply Pipeline::Note(GstBus*, GstMessage* message, gpointer self) {
  auto* pipeline = static_cast<Pipeline*>(self);
  if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) pipeline->ended_ = true;
  if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) pipeline->failed_ = true;
  return GST_BUS_DROP;
}

}  // namespace orvane::platform::gst
