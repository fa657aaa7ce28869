// The daemon's command line and the window id on any bytes: the first byte says whether
// XSCREENSAVER_WINDOW is set; the rest, split at NUL, is the arguments, the last of them also
// the variable's value. A window id read back from its own text is the same id, a request
// without a window id has no window from the switch, and an error names the text it refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/window_id.h"
#include "fuzz/split_words.h"
#include "host/daemon_command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool environmentSet = data[0] & 1;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::vector<std::string> words = orvane::fuzz::SplitAtNul(text);

  if (const auto id = orvane::common::ParseWindowId(text)) {
    if (*id == 0) std::abort();
    if (orvane::common::ParseWindowId(orvane::WindowIdText(*id)) != id) std::abort();
  }

  std::vector<const char*> arguments;
  for (const auto& word : words) arguments.push_back(word.c_str());
  const char* environment = environmentSet ? words.back().c_str() : nullptr;
  const auto request = orvane::ParseDaemonCommandLine(arguments, environment);
  if (request) {
    if (request->window && !request->error.empty()) std::abort();
    if (!request->window && !request->error.empty() &&
        request->error.find(" needs a window id such as 0x600008, not \"") == std::string::npos)
      std::abort();
  }
  return 0;
}
