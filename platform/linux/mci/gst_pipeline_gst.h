#pragma once

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <string>

// GStreamer helpers shared by the players: start-up, the audio output, and one owner for a
// pipeline with its bus watch.
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

// A pipeline playing raw audio that needData pushes into an appsrc, through audioconvert and
// audioresample to the audio output (MakeAudioSink); the source queues at most maxBytes, so
// needData runs again each time that much has been played. Floating reference; nullptr if an
// element is missing or the description does not parse.
GstElement* MakeAppSourcePipeline(const std::string& audioSink, GstCaps* caps, guint64 maxBytes,
                                  void (*needData)(GstAppSrc*, guint, gpointer), gpointer data);

// Owns a pipeline, its bus and its bus watch on the default main context, and notes whether the
// stream has ended or failed. Messages arrive from the main loop when it runs, and from Drain()
// when it does not, so the two flags are current either way.
class Pipeline {
 public:
  // Takes the (floating or owned) reference to `pipeline`.
  explicit Pipeline(GstElement* pipeline);
  ~Pipeline();
  Pipeline(const Pipeline&) = delete;
  Pipeline& operator=(const Pipeline&) = delete;

  GstElement* get() const { return pipeline_; }
  GstStateChangeReturn SetState(GstState state);
  // Takes in every pending message now.
  void Drain();
  bool ended() const { return ended_; }    // an end of stream since the last Clear()
  bool failed() const { return failed_; }  // an error since the last Clear()
  void Clear() { ended_ = failed_ = false; }

 private:
  static gboolean OnBus(GstBus* bus, GstMessage* message, gpointer self);
  void Note(GstMessage* message);

  GstElement* pipeline_;
  GstBus* bus_;
  guint watch_ = 0;
  bool ended_ = false;
  bool failed_ = false;
};

}  // namespace orvane::platform::gst
