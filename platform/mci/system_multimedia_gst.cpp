#include "platform/mci/mci_errors.h"
#include "platform/mci/multimedia.h"

namespace orvane::platform {
namespace {

class SystemMultimedia final : public Multimedia {
 public:
  std::uint32_t MciSendString(std::string_view, char* reply, std::uint32_t length) override {
    if (reply != nullptr && length > 0) reply[0] = '\0';
    return MCIERR_CANNOT_LOAD_DRIVER;
  }
  bool MciGetErrorString(std::uint32_t code, char* text, std::uint32_t length) override {
    return CopyMciErrorText(code, text, length);
  }
  bool PlaySound(const char*, std::uint32_t) override { return false; }
  std::uint32_t WaveOutGetNumDevs() override { return 0; }
};

}  // namespace

std::unique_ptr<Multimedia> CreateSystemMultimedia(const MultimediaOptions&) {
  return std::make_unique<SystemMultimedia>();
}

}  // namespace orvane::platform
