// The noisy output as a GStreamer plugin, for programs the tests start (GST_PLUGIN_PATH).
#include "tests/mci/noisy_sink.h"

namespace {

gboolean PluginInit(GstPlugin* plugin) {
  return orvane::testing::RegisterNoisySink(plugin);
}

}  // namespace

#define PACKAGE "orvane-tests"
GST_PLUGIN_DEFINE(GST_VERSION_MAJOR, GST_VERSION_MINOR, orvanenoisy,
                  "An audio output that complains and fails", PluginInit, "1.0", "GPL",
                  "orvane-tests", "https://orvane.org/")
