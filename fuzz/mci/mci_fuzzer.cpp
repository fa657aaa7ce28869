// MCI command strings against the parser, one command per line, and each command's argument
// read as a track's position as the CD player reads it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/linux/mci/mci_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvane::platform;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::size_t start = 0;
  while (start <= input.size()) {
    std::size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    const std::string_view line = input.substr(start, end - start);
    const MciCommand command = ParseMciCommand(line);
    if (command.argument) TrackOfPosition(*command.argument);
    TrackOfPosition(line);
    start = end + 1;
  }
  return 0;
}
