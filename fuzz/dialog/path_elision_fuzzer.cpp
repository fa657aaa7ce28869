// A path from the settings file or the file dialog, shortened for its label. The first byte
// is the room in bytes; the rest is the path. Beyond not crashing: the result is the path
// itself when it fits, otherwise a start of it, "…" and an end of it, and it fits unless
// even the ellipsis alone does not.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/dialog/path_elision.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t room = data[0];
  const std::string_view path(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string shown =
      orvane::ElideMiddle(path, [&](std::string_view text) { return text.size() <= room; });
  if (path.size() <= room) {
    if (shown != path) std::abort();
    return 0;
  }
  if (shown.size() > room && shown != "…") std::abort();
  // The path may hold "…" itself: some "…" of the result must split it into a start and an
  // end of the path that leave something out.
  for (size_t mark = shown.find("…"); mark != std::string::npos; mark = shown.find("…", mark + 1)) {
    const std::string_view head = std::string_view(shown).substr(0, mark);
    const std::string_view tail = std::string_view(shown).substr(mark + 3);
    if (path.substr(0, head.size()) == head && path.substr(path.size() - tail.size()) == tail &&
        head.size() + tail.size() < path.size()) {
      return 0;
    }
  }
  std::abort();
}
