#include <sys/stat.h>

#include "platform/linux/mci/gst_pipeline_gst.h"
#include "platform/linux/mci/mci_command.h"

namespace orvane::platform {
namespace {

class FilePlayer final : public MciPlayer {
 public:
  explicit FilePlayer(GstElement* playbin) : pipeline_(playbin) {}

  // Brings the stream to paused and ready to play; a file that turns out to be unplayable fails
  // here. If that takes longer than the wait, the stream gets ready on its own.
  bool Preroll() {
    pipeline_.Clear();
    playing_ = false;
    GstStateChangeReturn r = pipeline_.SetState(GST_STATE_PAUSED);
    if (r == GST_STATE_CHANGE_ASYNC) r = WaitForState();
    if (r != GST_STATE_CHANGE_FAILURE && !pipeline_.failed()) return true;
    pipeline_.SetState(GST_STATE_NULL);
    return false;
  }

  std::uint32_t Run(const MciCommand& command, std::string& reply) override {
    switch (command.action) {
      case MciAction::Mode:
        // Played to its end, or failed, a file has stopped.
        reply = playing_ && !pipeline_.ended() && !pipeline_.failed() ? "playing" : "stopped";
        return 0;
      case MciAction::Stop:
        if (playing_) pipeline_.SetState(GST_STATE_PAUSED);
        playing_ = false;
        return 0;
      case MciAction::Play:
        return Play(command.argument);
      default:
        return MCIERR_UNRECOGNIZED_COMMAND;
    }
  }

 private:
  // On from where it stands, or from its start: the one position the module asks for.
  std::uint32_t Play(const std::optional<std::string>& from) {
    if (from && *from != "0") return MCIERR_OUTOFRANGE;
    // A stream that failed is built up again, so that a restart after a fault can still play.
    if (pipeline_.failed()) {
      pipeline_.SetState(GST_STATE_NULL);
      if (!Preroll()) return MCIERR_INVALID_FILE;
    }
    if (from) {
      WaitForState();
      if (!gst_element_seek_simple(
              pipeline_.get(), GST_FORMAT_TIME,
              static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), 0)) {
        return MCIERR_HARDWARE;
      }
      pipeline_.Clear();
    }
    if (pipeline_.SetState(GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) return MCIERR_HARDWARE;
    playing_ = true;
    return 0;
  }

  // Waits for a change of state under way to end, at most a second.
  GstStateChangeReturn WaitForState() {
    return gst_element_get_state(pipeline_.get(), nullptr, nullptr, GST_SECOND);
  }

  bool playing_ = false;  // play was the last word
  gst::Pipeline pipeline_;
};

}  // namespace

std::uint32_t OpenFilePlayer(const std::string& path, const std::string& audioSink,
                             std::unique_ptr<MciPlayer>& player) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return MCIERR_FILE_NOT_FOUND;
  if (!S_ISREG(info.st_mode)) return MCIERR_INVALID_FILE;
  gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
  if (uri == nullptr) return MCIERR_FILE_NOT_FOUND;
  GstElement* playbin = gst::MakePlaybin(uri, audioSink);
  g_free(uri);
  if (playbin == nullptr) return MCIERR_CANNOT_LOAD_DRIVER;
  auto opened = std::make_unique<FilePlayer>(playbin);
  if (!opened->Preroll()) return MCIERR_INVALID_FILE;
  player = std::move(opened);
  return 0;
}

}  // namespace orvane::platform
