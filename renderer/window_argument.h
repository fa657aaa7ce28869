#pragma once

#include <cstdint>
#include <optional>

namespace orvane::renderer {

// The renderer's options: "--window-id 0x…", with which a screen-saver host hands it a window
// that a daemon made, and "--wayland", with which it asks for the Wayland shell.
struct WindowArgument {
  bool given = false;                   // "--window-id" is on the command line
  std::optional<std::uint32_t> window;  // its value; nullopt when missing or no window id
};

WindowArgument findWindowArgument(int argc, const char* const* argv);
bool findWaylandArgument(int argc, const char* const* argv);

}  // namespace orvane::renderer
