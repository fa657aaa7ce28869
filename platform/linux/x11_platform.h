#pragma once

#include <memory>

#include "platform/platform.h"

struct _XDisplay;  // Xlib's Display, so that this header needs no X11 include

namespace orvane {

// The real platform: X11 for windows, the pointer and the cursor; GTK 3 for the message
// box; the GLib main loop for timers; POSIX for files and processes. One per process.
class X11Platform {
 public:
  // Starts GTK on the X display named by DISPLAY. nullptr when DISPLAY is unset or the X
  // server cannot be reached; nothing is written anywhere in that case.
  static std::unique_ptr<X11Platform> Open();
  ~X11Platform();
  X11Platform(const X11Platform&) = delete;
  X11Platform& operator=(const X11Platform&) = delete;

  Platform& platform();
  // GDK's own connection, shared by every part (and by the host's GTK windows).
  _XDisplay* display() const;
  // Runs the GTK main loop; the host ends through Process::EndProcess.
  void RunMainLoop();

  struct Parts;

 private:
  explicit X11Platform(std::unique_ptr<Parts> parts);
  std::unique_ptr<Parts> parts_;
};

// The X11 parts on a display of the caller's own (tests open one on their Xvfb). The display
// must outlive them.
std::unique_ptr<WindowFinder> MakeX11WindowFinder(_XDisplay* display);
std::unique_ptr<Cursor> MakeX11Cursor(_XDisplay* display);
std::unique_ptr<WindowGeometry> MakeX11WindowGeometry(_XDisplay* display);
std::unique_ptr<Pointer> MakeX11Pointer(_XDisplay* display);
std::unique_ptr<RectAnimation> MakeX11RectAnimation(_XDisplay* display);
std::unique_ptr<ScreenMetrics> MakeX11ScreenMetrics(_XDisplay* display);
// Needs GTK started on a display (gtk_init_check).
std::unique_ptr<MessageBox> MakeGtkMessageBox();
// Timers on the default GLib main context.
std::unique_ptr<Timers> MakeGLibTimers();

}  // namespace orvane
