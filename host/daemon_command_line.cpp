#include "host/daemon_command_line.h"

#include <cstdio>
#include <string_view>

#include "common/window_id.h"

namespace orvane {
namespace {

bool IsRootSwitch(std::string_view word) {
  return word == "--root" || word == "-root";
}

// The value of a window switch at arguments[i] ("--window-id X" or "--window-id=X"); nullopt
// when arguments[i] is no window switch. next is moved past a value taken from the next word.
std::optional<std::string> WindowSwitchValue(std::span<const char* const> arguments, size_t& i) {
  const std::string_view word = arguments[i] != nullptr ? arguments[i] : "";
  for (std::string_view name : {"--window-id", "-window-id"}) {
    if (word == name) {
      if (i + 1 >= arguments.size() || arguments[i + 1] == nullptr) return std::string();
      return std::string(arguments[++i]);
    }
    if (word.size() > name.size() && word.substr(0, name.size()) == name &&
        word[name.size()] == '=') {
      return std::string(word.substr(name.size() + 1));
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<DaemonRequest> ParseDaemonCommandLine(std::span<const char* const> arguments,
                                                    const char* environmentWindow) {
  bool daemon = false;
  std::optional<std::string> windowText;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] != nullptr && IsRootSwitch(arguments[i])) {
      daemon = true;
    } else if (auto value = WindowSwitchValue(arguments, i)) {
      daemon = true;
      if (!windowText) windowText = std::move(*value);
    }
  }
  if (!daemon) return std::nullopt;

  DaemonRequest request;
  request.windowFromSwitch = windowText.has_value();
  std::string source = "--window-id";
  if (!windowText && environmentWindow != nullptr && *environmentWindow != '\0') {
    windowText = environmentWindow;
    source = "XSCREENSAVER_WINDOW";
  }
  if (windowText) {
    request.window = common::ParseWindowId(*windowText);
    if (!request.window) {
      request.error = source + " needs a window id such as 0x600008, not \"" + *windowText + "\"";
    }
  }
  return request;
}

std::string MusicLockPath(const char* runtimeFolder, const std::string& fallbackFolder) {
  const std::string folder =
      runtimeFolder != nullptr && runtimeFolder[0] == '/' ? runtimeFolder : fallbackFolder;
  return folder + "/orvane-music.lock";
}

std::string WindowIdText(std::uint32_t window) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(window));
  return text;
}

}  // namespace orvane
