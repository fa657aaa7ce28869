#include <cstring>
#include <optional>

#include "platform/linux/mci/cd_player_cdio.h"
#include "platform/linux/mci/file_player_gst.h"
#include "platform/linux/mci/gst_pipeline_gst.h"
#include "platform/linux/mci/mci_command.h"
#include "platform/linux/mci/mci_errors.h"
#include "platform/linux/mci/sound_player_gst.h"
#include "platform/multimedia.h"

namespace orvane::platform {
namespace {

class SystemMultimedia final : public Multimedia {
 public:
  explicit SystemMultimedia(const MultimediaOptions& options)
      : options_(options), sound_(options.audioSink) {}

  std::uint32_t MciSendString(std::string_view text, char* reply, std::uint32_t length) override {
    std::string answer;
    std::uint32_t result = Run(ParseMciCommand(text), answer);
    if (reply == nullptr || length == 0) return result;
    if (result == 0 && answer.size() >= length) result = MCIERR_PARAM_OVERFLOW;
    if (result != 0) answer.clear();
    std::memcpy(reply, answer.c_str(), answer.size() + 1);
    return result;
  }

  bool MciGetErrorString(std::uint32_t code, char* text, std::uint32_t length) override {
    const char* message = MciErrorText(code);
    if (text == nullptr || length == 0) return false;
    const std::size_t size =
        message == nullptr ? 0 : std::min<std::size_t>(std::strlen(message), length - 1);
    std::memcpy(text, message == nullptr ? "" : message, size);
    text[size] = '\0';
    return message != nullptr;
  }

  bool PlaySound(const char* name, std::uint32_t flags) override {
    // A sound without an output would only make the audio libraries complain; the count the
    // caller took just before is the answer, else one is taken now.
    if (name != nullptr) {
      const std::uint32_t outputs = countTaken_ ? *countTaken_ : WaveOutGetNumDevs();
      countTaken_.reset();
      if (outputs == 0) return false;
    }
    return sound_.Play(name, flags);
  }

  // The one output: 1 when it opens (the sound server answers), else 0.
  std::uint32_t WaveOutGetNumDevs() override {
    GstElement* sink = gst::MakeAudioSink(options_.audioSink);
    bool opens = false;
    if (sink != nullptr) {
      gst_object_ref_sink(sink);
      opens = gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
      gst_element_set_state(sink, GST_STATE_NULL);
      gst_object_unref(sink);
    }
    countTaken_ = opens ? 1 : 0;
    return *countTaken_;
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
  SoundPlayer sound_;
  std::optional<std::uint32_t> countTaken_;  // the last count, until a sound starts
};

}  // namespace

std::unique_ptr<Multimedia> CreateSystemMultimedia(const MultimediaOptions& options) {
  gst::Initialise();
  return std::make_unique<SystemMultimedia>(options);
}

}  // namespace orvane::platform
