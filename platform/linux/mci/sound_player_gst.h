#pragma once

#include <gst/app/gstappsrc.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/mci/gst_pipeline_gst.h"

// PlaySound on GStreamer as the music module calls it: one WAV file looped without a gap, a
// short one from memory, until it is stopped.
namespace orvane::platform {

class SoundPlayer {
 public:
  explicit SoundPlayer(std::string audioSink);
  ~SoundPlayer();
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // nullptr stops the sound. A name starts it looping, with SND_ASYNC | SND_LOOP and no flag
  // but SND_FILENAME; any other call fails, as does a name that is not a readable RIFF WAVE file
  // or a loop whose start does not decode (there is no default sound).
  bool Play(const char* name, std::uint32_t flags);

 private:
  static void AboutToFinish(GstElement* playbin, gpointer self);
  static void NeedData(GstAppSrc* source, guint, gpointer self);

  std::string audioSink_;
  std::string uri_;                  // the file a long sound plays again
  std::vector<std::uint8_t> block_;  // a pass of a short sound
  guint64 rate_ = 0;                 // its frames a second
  guint64 blockFrames_ = 0;
  guint64 framesSent_ = 0;
  std::unique_ptr<gst::Pipeline> pipeline_;
};

}  // namespace orvane::platform
