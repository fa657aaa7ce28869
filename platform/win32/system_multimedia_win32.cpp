#include <string>

#include "platform/multimedia.h"
#include "platform/win32/winmm_calls.h"

namespace orvane::platform {
namespace {

// Windows' own multimedia functions behind the interface the music module uses.
class WindowsMultimedia final : public Multimedia {
 public:
  std::uint32_t MciSendString(std::string_view command, char* reply,
                              std::uint32_t length) override {
    // The command ends at its first NUL, as the interface promises.
    const std::string text(command.substr(0, command.find('\0')));
    if (reply == nullptr) length = 0;
    return winmm::SendString(text.c_str(), length > 0 ? reply : nullptr, length);
  }

  bool MciGetErrorString(std::uint32_t code, char* text, std::uint32_t length) override {
    if (text == nullptr || length == 0) return false;
    text[0] = '\0';
    return winmm::GetErrorString(code, text, length);
  }

  bool PlaySound(const char* name, std::uint32_t flags) override {
    return winmm::PlaySoundFile(name, flags);
  }

  std::uint32_t WaveOutGetNumDevs() override { return winmm::WaveOutputCount(); }
};

}  // namespace

// The sink and CD source options choose GStreamer parts on Linux; Windows has its own.
std::unique_ptr<Multimedia> CreateSystemMultimedia(const MultimediaOptions&) {
  return std::make_unique<WindowsMultimedia>();
}

}  // namespace orvane::platform
