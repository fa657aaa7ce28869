#include "platform/mci/sound_player_gst.h"

#include "platform/mci/gst_pipeline_gst.h"
#include "platform/mci/multimedia.h"
#include "platform/mci/wave_file.h"

namespace orvane::platform {

using std::chrono::milliseconds;

// One sound on its own playbin. A looping sound queues its file again each time playbin
// is about to run out, so the loop has no gap.
class SoundPlayer::Sound {
 public:
  Sound(std::string uri, bool loop) : uri_(std::move(uri)), loop_(loop) {}

  bool Start(const std::string& audioSink) {
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    if (playbin == nullptr) return false;
    g_object_set(playbin, "uri", uri_.c_str(), "flags", 0x02 | 0x10, nullptr);
    if (!audioSink.empty()) {
      GstElement* sink = gst::MakeAudioSink(audioSink);
      if (sink == nullptr) {
        gst_object_unref(gst_object_ref_sink(playbin));
        return false;
      }
      g_object_set(playbin, "audio-sink", sink, nullptr);
    }
    if (loop_)
      g_signal_connect(playbin, "about-to-finish", G_CALLBACK(&Sound::AboutToFinish), this);
    pipeline_ = std::make_unique<gst::Pipeline>(playbin, [this](GstMessage* m) { OnMessage(m); });
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

  bool Playing() {
    pipeline_->Drain();
    return !ended_ && !failed_;
  }

 private:
  // Runs on a streaming thread.
  static void AboutToFinish(GstElement* playbin, gpointer self) {
    g_object_set(playbin, "uri", static_cast<Sound*>(self)->uri_.c_str(), nullptr);
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
  gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
  if (uri == nullptr) return false;
  auto sound = std::make_unique<Sound>(uri, (flags & SND_LOOP) != 0);
  g_free(uri);
  if (!sound->Start(audioSink_)) return false;
  if ((flags & SND_ASYNC) == 0) return sound->WaitForEnd();
  sound_ = std::move(sound);
  return true;
}

}  // namespace orvane::platform
