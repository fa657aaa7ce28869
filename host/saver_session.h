#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/saver_lock.h"
#include "platform/window_finder.h"

// Which session a saver run draws on: a Wayland compositor, through the renderer's own Wayland
// shell, or the X display (also XWayland's) as everywhere else.
namespace orvane {

// True when the command line runs the saver ("/s" or the empty command line), waylandDisplay
// (WAYLAND_DISPLAY, nullptr when unset) names a compositor, x11Setting (ORVANE_X11) is not "1",
// and compositorAnswers() then says the compositor can be reached. The compositor is asked
// last, so that every other start costs nothing.
bool UsesWaylandSaver(std::string_view commandLine, const char* waylandDisplay,
                      const char* x11Setting, const std::function<bool()>& compositorAnswers);

// The saver lock's file: "orvane-saver.lock" in runtimeFolder (XDG_RUNTIME_DIR) when that is an
// absolute path, else in fallbackFolder.
std::string SaverLockPath(const char* runtimeFolder, const std::string& fallbackFolder);

// The single-instance test's window search on Linux: a saver on the Wayland session, which has
// no window, counts as the saver window "Orvane_Main", so that every start is refused while it
// runs, as while a saver window exists. Every other title goes to the window search alone.
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
