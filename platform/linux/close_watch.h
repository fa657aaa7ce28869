#pragma once

#include <functional>
#include <vector>

struct _XDisplay;  // Xlib's Display, so that this header needs no X11 include

namespace orvane {

// Hears the desktop close a process that shows itself on X: logoff and shutdown (SIGTERM,
// SIGHUP), an interrupt from the terminal (SIGINT), and the X connection going away. onClose
// runs on the GLib main loop for a signal, and at most once for the life of the watch. After a
// lost connection the process ends with code 0 right after onClose, since Xlib ends it anyway.
// The Wayland saver, which opens no X connection, hears the signals alone through it.
// One watch at a time per process; its end gives the signals and Xlib's handler back.
class CloseWatch {
 public:
  explicit CloseWatch(std::function<void()> onClose);
  ~CloseWatch();
  CloseWatch(const CloseWatch&) = delete;
  CloseWatch& operator=(const CloseWatch&) = delete;

  // Runs onClose unless a close has run already.
  void Close();

 private:
  std::function<void()> onClose_;
  std::vector<unsigned int> sources_;
  bool closed_ = false;
  int (*previousHandler_)(_XDisplay*) = nullptr;
};

}  // namespace orvane
