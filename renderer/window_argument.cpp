#include "renderer/window_argument.h"

#include <string_view>

#include "common/window_id.h"

namespace orvane::renderer {

WindowArgument findWindowArgument(int argc, const char* const* argv) {
  WindowArgument found;
  for (int i = 1; i < argc; ++i) {
    if (argv[i] == nullptr || std::string_view(argv[i]) != "--window-id") continue;
    found.given = true;
    found.window =
        i + 1 < argc && argv[i + 1] != nullptr ? common::ParseWindowId(argv[i + 1]) : std::nullopt;
    return found;
  }
  return found;
}

bool findWaylandArgument(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i)
    if (argv[i] != nullptr && std::string_view(argv[i]) == "--wayland") return true;
  return false;
}

}  // namespace orvane::renderer
