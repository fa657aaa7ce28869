#pragma once

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <atomic>
#include <string>

// GStreamer helpers shared by the players: start-up, the audio output, and one owner for a
// pipeline that notes how its stream went.
namespace orvane::platform::gst {

// Initialises GStreamer once, with its own debug output switched off: the host prints
// nothing.
void Initialise();

// The audio output for a pipeline: the given bin description, or when it is empty the sound
// server's default output through pulsesink (PulseAudio, or PipeWire's PulseAudio service),
// never another. Floating reference; nullptr if the description does not parse or the
// element is missing.
GstElement* MakeAudioSink(const std::string& description);

// A playbin for `uri` playing its audio alone (no video or subtitles, so a file with a cover
// picture opens no window) to MakeAudioSink(audioSink). Floating reference; nullptr if either
// is missing.
GstElement* MakePlaybin(const char* uri, const std::string& audioSink);

// A pipeline playing raw audio of `caps` that needData pushes into an appsrc, through
// audioconvert and audioresample to the audio output (MakeAudioSink); the source queues at most
// maxBytes, so needData runs again each time that much has been played. Floating reference;
// nullptr if an element is missing or the description does not parse.
GstElement* MakeAppSourcePipeline(const std::string& audioSink, GstCaps* caps, guint64 maxBytes,
                                  void (*needData)(GstAppSrc*, guint, gpointer), gpointer data);

// Owns a pipeline and notes, as its messages are posted, whether the stream has ended or
// failed; the messages go no further, so they need no main loop.
class Pipeline {
 public:
  // Takes the (floating or owned) reference to `pipeline`.
  explicit Pipeline(GstElement* pipeline);
  ~Pipeline();
  Pipeline(const Pipeline&) = delete;
  Pipeline& operator=(const Pipeline&) = delete;

  GstElement* get() const { return pipeline_; }
  GstStateChangeReturn SetState(GstState state) { return gst_element_set_state(pipeline_, state); }
  bool ended() const { return ended_; }    // an end of stream since the last Clear()
  bool failed() const { return failed_; }  // an error since the last Clear()
  void Clear() { ended_ = failed_ = false; }

 private:
  static GstBusSyncReply Note(GstBus* bus, GstMessage* message, gpointer self);

  GstElement* pipeline_;
  std::atomic<bool> ended_{false};
  std::atomic<bool> failed_{false};
};

}  // namespace orvane::platform::gst
