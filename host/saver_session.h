#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/saver_lock.h"
#include "platform/window_finder.h"

// Which session a saver run draws on: a Wayland compositor, through the renderer's own Wayland
// shell, or the X display (also XWayland's) as everywhere else.
namespace orvane {

// waylandDisplay is WAYLAND_DISPLAY and x11Setting ORVANE_X11 (nullptr when unset); the
// compositor is asked last, so that every other start costs nothing.
bool UsesWaylandSaver(std::string_view commandLine, const char* waylandDisplay,
                      const char* x11Setting, const std::function<bool()>& compositorAnswers);

// The saver lock's file: "orvane-saver.lock" in runtimeFolder (XDG_RUNTIME_DIR) when that is an
// absolute path, else in fallbackFolder.
std::string SaverLockPath(const char* runtimeFolder, const std::string& fallbackFolder);

// A Wayland saver has no window, so its lock counts as the saver window "Orvane_Main" for the
// single-instance test: every start is refused while it runs.
class SaverLockFinder final : public WindowFinder {
 public:
  SaverLockFinder(WindowFinder& windows, SaverLock& lock) : windows_(windows), lock_(lock) {}
  WindowHandle FindWindow(std::string_view title) override;

  // What FindWindow gives for the saver that holds the lock: no window's id, only not 0.
  static constexpr WindowHandle LockHolder = 1;

 private:
  WindowFinder& windows_;
  SaverLock& lock_;
};

}  // namespace orvane
