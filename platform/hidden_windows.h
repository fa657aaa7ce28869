#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "platform/window_handle.h"

struct _XDisplay;  // Xlib's Display, so that this header needs no X11 include

namespace orvane {

// Top-level windows of the host that are never shown: they carry a title that WindowFinder
// finds from any process, and they hear the system close them. On Linux the system's close
// (logoff, shutdown, an interrupt) reaches the host as SIGTERM, SIGHUP or SIGINT, or as its
// X connection going away.
class HiddenWindows {
 public:
  virtual ~HiddenWindows() = default;
  // Makes an unmapped top-level window titled title; other clients can find it as soon as this
  // returns. onSystemClose runs on the UI thread, at most once for all windows, when the system
  // closes the host's windows; it is expected to end the process (when the X connection is gone
  // the process ends right after it anyway). 0 when no window could be made.
  virtual WindowHandle CreateHiddenWindow(std::string_view title,
                                          std::function<void()> onSystemClose) = 0;
  // Destroys a window made here (it no longer hears the system close); others are ignored.
  virtual void DestroyHiddenWindow(WindowHandle window) = 0;
};

// The real ones, on an X display that outlives them. The signal and connection watches are
// the process's own, so there is one of these per process; it destroys its windows when it goes.
std::unique_ptr<HiddenWindows> MakeX11HiddenWindows(_XDisplay* display);

}  // namespace orvane
