// A GStreamer plugin: an audio output that complains on standard error when opened and fails,
// as ALSA's does without a sound card, ranked above every output a search of them would meet.
#include <gst/gst.h>

#include <cstdio>

namespace {

struct NoisySink {
  GstElement parent;
};
struct NoisySinkClass {
  GstElementClass parent;
};
G_DEFINE_TYPE(NoisySink, noisy_sink, GST_TYPE_ELEMENT)
GstStaticPadTemplate noisySinkPad =
    GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS("audio/x-raw"));
GstStateChangeReturn NoisySinkChangeState(GstElement*, GstStateChange transition) {
  if (transition != GST_STATE_CHANGE_NULL_TO_READY) return GST_STATE_CHANGE_SUCCESS;
  std::fputs("ALSA lib pcm.c: Unknown PCM default\n", stderr);
  return GST_STATE_CHANGE_FAILURE;
}
void noisy_sink_class_init(NoisySinkClass* klass) {
  GstElementClass* element = GST_ELEMENT_CLASS(klass);
  gst_element_class_set_static_metadata(element, "Noisy sink", "Sink/Audio", "Complains", "Test");
  gst_element_class_add_static_pad_template(element, &noisySinkPad);
  element->change_state = NoisySinkChangeState;
}
void noisy_sink_init(NoisySink* self) {
  gst_element_add_pad(GST_ELEMENT(self), gst_pad_new_from_static_template(&noisySinkPad, "sink"));
}
gboolean PluginInit(GstPlugin* plugin) {
  return gst_element_register(plugin, "orvanenoisysink", GST_RANK_PRIMARY + 1000,
                              noisy_sink_get_type());
}

}  // namespace

#define PACKAGE "orvane-tests"
GST_PLUGIN_DEFINE(GST_VERSION_MAJOR, GST_VERSION_MINOR, orvanenoisy,
                  "An audio output that complains and fails", PluginInit, "1.0", "GPL",
                  "orvane-tests", "https://orvane.org/")
