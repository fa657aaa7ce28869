#include "platform/linux/mci/gst_pipeline_gst.h"
#include "platform/linux/mci/mci_command.h"
#include "platform/multimedia.h"

namespace orvane::platform {
namespace {

// Windows' English texts for the codes the stand-in returns.
constexpr struct {
  std::uint32_t code;
  const char* text;
} kErrorTexts[] = {
    {MCIERR_UNRECOGNIZED_COMMAND, "The driver cannot recognize the specified command."},
    {MCIERR_HARDWARE,
     "There is a problem with your media device. Make sure it is working correctly or contact "
     "the device manufacturer."},
    {MCIERR_INVALID_DEVICE_NAME, "The specified device is not open or is not recognized by MCI."},
    {MCIERR_CANNOT_LOAD_DRIVER,
     "There is an undetectable problem in loading the specified device driver."},
    {MCIERR_FILE_NOT_FOUND,
     "Cannot find the specified file. Make sure the path and filename are correct."},
    {MCIERR_OUTOFRANGE, "The specified parameter is out of range for the specified command."},
    {MCIERR_INVALID_FILE,
     "The specified file cannot be played on the specified MCI device. The file may be corrupt, "
     "or not in the correct format."},
};

class SystemMultimedia final : public Multimedia {
 public:
  explicit SystemMultimedia(const MultimediaOptions& options) : options_(options) {}

  // Every reply fits the module's buffers.
  std::uint32_t MciSendString(std::string_view text, char* reply, std::uint32_t length) override {
    std::string answer;
    const std::uint32_t result = Run(ParseMciCommand(text), answer);
    if (reply != nullptr && length > 0) g_strlcpy(reply, result == 0 ? answer.c_str() : "", length);
    return result;
  }

  bool MciGetErrorString(std::uint32_t code, char* text, std::uint32_t length) override {
    if (text == nullptr || length == 0) return false;
    text[0] = '\0';
    for (const auto& [known, message] : kErrorTexts) {
      if (known == code) g_strlcpy(text, message, length);
    }
    return text[0] != '\0';
  }

  // Only the loop the module asks for: SND_ASYNC | SND_LOOP, with SND_FILENAME or without.
  bool PlaySound(const char* name, std::uint32_t flags) override {
    sound_.reset();
    if (name == nullptr) return true;
    if ((flags & ~SND_FILENAME) != (SND_ASYNC | SND_LOOP)) return false;
    return LoopWave(name, options_.audioSink, sound_);
  }

  // The one output: 1 when it opens (the sound server answers), else 0.
  std::uint32_t WaveOutGetNumDevs() override {
    GstElement* sink = gst::MakeAudioSink(options_.audioSink);
    if (sink == nullptr) return 0;
    gst_object_ref_sink(sink);
    const bool opens = gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
    gst_element_set_state(sink, GST_STATE_NULL);
    gst_object_unref(sink);
    return opens ? 1 : 0;
  }

 private:
  // The CD and the file each have one device, opened and closed by name.
  std::uint32_t Run(const MciCommand& command, std::string& reply) {
    if (command.device == MciDevice::None) return MCIERR_UNRECOGNIZED_COMMAND;
    std::unique_ptr<MciPlayer>& player = command.device == MciDevice::Cd ? cd_ : file_;
    if (command.action == MciAction::Open) {
      player.reset();
      if (command.device == MciDevice::File) {
        return OpenFilePlayer(*command.argument, options_.audioSink, player);
      }
      player = OpenCdPlayer(options_.cdSource, options_.audioSink);
      return player ? 0 : MCIERR_CANNOT_LOAD_DRIVER;
    }
    if (!player) return MCIERR_INVALID_DEVICE_NAME;
    if (command.action == MciAction::Close) {
      player.reset();
      return 0;
    }
    return player->Run(command, reply);
  }

  const MultimediaOptions options_;
  std::unique_ptr<MciPlayer> cd_;
  std::unique_ptr<MciPlayer> file_;
  std::shared_ptr<void> sound_;
};

}  // namespace

std::unique_ptr<Multimedia> CreateSystemMultimedia(const MultimediaOptions& options) {
  gst::Initialise();
  return std::make_unique<SystemMultimedia>(options);
}

}  // namespace orvane::platform
