#pragma once

#include <gst/gst.h>

// An audio output that complains on standard error when opened and then fails, as ALSA's and
// OpenAL's do on a machine without a sound card. Ranked above every installed output, it is
// the first that a search of the machine's outputs would meet, whatever is installed.
namespace orvane::testing {

// Registers it as "orvanenoisysink", in plugin (nullptr: in this process alone).
bool RegisterNoisySink(GstPlugin* plugin);

}  // namespace orvane::testing
