#include <optional>

#include "platform/linux/mci/cd_audio_device.h"
#include "platform/linux/mci/cd_drive_cdio.h"
#include "platform/linux/mci/gst_pipeline_gst.h"
#include "platform/linux/mci/mci_engine.h"
#include "platform/linux/mci/mpeg_video_device_gst.h"
#include "platform/linux/mci/sound_player_gst.h"
#include "platform/mci_errors.h"
#include "platform/multimedia.h"

namespace orvane::platform {
namespace {

// A drive letter such as "d:" names the one drive this system plays, as does the type
// name itself.
bool NamesTheDefaultDrive(const std::string& element) {
  if (element.empty()) return true;
  if (element.size() == 2 && element[1] == ':') return true;
  std::string lower = element;
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return lower == "cdaudio";
}

class SystemDevices final : public MciDeviceFactory {
 public:
  explicit SystemDevices(const MultimediaOptions& options) : options_(options) {}

  std::uint32_t Open(MciDeviceType type, const std::string& element,
                     std::unique_ptr<MciDevice>& device) override {
    switch (type) {
      case MciDeviceType::MpegVideo:
        if (element.empty()) return MCIERR_MISSING_DEVICE_NAME;
        return OpenMpegVideoDevice(element, options_.audioSink, device);
      case MciDeviceType::CdAudio: {
        const std::string source = NamesTheDefaultDrive(element) ? options_.cdSource : element;
        std::unique_ptr<CdDrive> drive = OpenCdDrive(source, options_.audioSink);
        if (!drive) return MCIERR_CANNOT_LOAD_DRIVER;
        device = std::make_unique<CdAudioDevice>(std::move(drive));
        return 0;
      }
    }
    return MCIERR_CANNOT_LOAD_DRIVER;
  }

 private:
  const MultimediaOptions options_;
};

class SystemMultimedia final : public Multimedia {
 public:
  explicit SystemMultimedia(const MultimediaOptions& options)
      : options_(options), devices_(options), engine_(devices_), sound_(options.audioSink) {}

  std::uint32_t MciSendString(std::string_view command, char* reply,
                              std::uint32_t length) override {
    return engine_.Send(command, reply, length);
  }

  bool MciGetErrorString(std::uint32_t code, char* text, std::uint32_t length) override {
    return CopyMciErrorText(code, text, length);
  }

  bool PlaySound(const char* name, std::uint32_t flags) override {
    // A sound without an output would only make the audio libraries complain; the count
    // the caller took just before is the answer, else one is taken now.
    if (name != nullptr) {
      const std::uint32_t outputs = countTaken_ ? *countTaken_ : WaveOutGetNumDevs();
      countTaken_.reset();
      if (outputs == 0) return false;
    }
    return sound_.Play(name, flags);
  }

  std::uint32_t WaveOutGetNumDevs() override {
    countTaken_ = CountOutputs();
    return *countTaken_;
  }

 private:
  // The one output: 1 when it opens (the sound server answers), else 0.
  std::uint32_t CountOutputs() { return SinkOpens() ? 1 : 0; }

  bool SinkOpens() {
    GstElement* sink = gst::MakeAudioSink(options_.audioSink);
    if (sink == nullptr) return false;
    gst_object_ref_sink(sink);
    const bool ok = gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
    gst_element_set_state(sink, GST_STATE_NULL);
    gst_object_unref(sink);
    return ok;
  }

  const MultimediaOptions options_;
  SystemDevices devices_;
  MciEngine engine_;
  SoundPlayer sound_;
  std::optional<std::uint32_t> countTaken_;  // the last count, until a sound starts
};

}  // namespace

std::unique_ptr<Multimedia> CreateSystemMultimedia(const MultimediaOptions& options) {
  gst::Initialise();
  return std::make_unique<SystemMultimedia>(options);
}

}  // namespace orvane::platform
