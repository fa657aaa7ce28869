#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The command line of a screen-saver daemon: "--root" (xscreensaver, mate-screensaver,
// XSecureLock's saver module), with "--window-id 0x…" added by xscreensaver-settings for its
// preview pane; the window comes in XSCREENSAVER_WINDOW otherwise.
namespace orvane {

struct DaemonRequest {
  // The window to draw into; nullopt for the root window.
  std::optional<std::uint32_t> window;
  // True when the window came from "--window-id" (a settings program's preview pane), false
  // when it came from XSCREENSAVER_WINDOW or is the root window.
  bool windowFromSwitch = false;
  // Why the request cannot be run, for standard error; "" when it can.
  std::string error;
};

// nullopt without a daemon switch ("--root", "-root", "--window-id", "-window-id"): a
// Windows-style command line for Main. The window is that of "--window-id", else of
// environmentWindow (XSCREENSAVER_WINDOW), else the root window.
std::optional<DaemonRequest> ParseDaemonCommandLine(std::span<const char* const> arguments,
                                                    const char* environmentWindow);

// The music lock's file: "orvane-music.lock" in runtimeFolder (XDG_RUNTIME_DIR) when that is
// an absolute path, else in fallbackFolder.
std::string MusicLockPath(const char* runtimeFolder, const std::string& fallbackFolder);

// "0x600008": the window id as the renderer's --window-id takes it.
std::string WindowIdText(std::uint32_t window);

}  // namespace orvane
