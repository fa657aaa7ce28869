// MCI command strings against the parser and the engine, one command per line, with a
// cdaudio device over a fixed disc so that positions and time formats are exercised.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/linux/mci/cd_audio_device.h"
#include "platform/linux/mci/mci_command.h"
#include "platform/linux/mci/mci_engine.h"

namespace {

using namespace orvane::platform;

struct FixedDisc final : CdDrive {
  bool ReadToc(CdToc& toc) override {
    toc = {{{1, 0, false}, {2, 4500, true}, {3, 7500, true}, {4, 9000, true}}, 12000};
    return true;
  }
  bool DiscChanged() override { return false; }
  bool Play(std::uint32_t first, std::uint32_t end) override {
    playback = {CdPlayback::State::Playing, first};
    last = end;
    return first < end;
  }
  void Pause() override { playback.state = CdPlayback::State::Paused; }
  bool Resume() override { return true; }
  void Stop() override { playback.state = CdPlayback::State::Idle; }
  CdPlayback Playback() override {
    // Each look moves playback on, and it ends past its range.
    if (playback.state == CdPlayback::State::Playing && (playback.sector += 500) >= last) {
      playback = {CdPlayback::State::Ended, last};
    }
    return playback;
  }
  CdPlayback playback;
  std::uint32_t last = 0;
};

struct Devices final : MciDeviceFactory {
  std::uint32_t Open(MciDeviceType type, const std::string& element,
                     std::unique_ptr<MciDevice>& device) override {
    if (type == MciDeviceType::MpegVideo && element.size() % 2 == 0) return 275;
    device = std::make_unique<CdAudioDevice>(std::make_unique<FixedDisc>());
    return 0;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  Devices devices;
  MciEngine engine(devices);
  char reply[32];
  std::size_t start = 0;
  while (start <= input.size()) {
    std::size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    const std::string_view line = input.substr(start, end - start);
    MciCommand command;
    ParseMciCommand(line, command);
    ParseMciInteger(line);
    engine.Send(line, reply, static_cast<std::uint32_t>(line.size() % sizeof reply));
    start = end + 1;
  }
  return 0;
}
