#pragma once

#include <memory>

#include "platform/hidden_windows.h"
#include "platform/platform.h"

namespace orvane {

// The real platform on Windows: USER32 for windows, the cursor, the pointer and the message
// box; window timers on a hidden window of the UI thread; kernel32 for files and processes.
// One per process, made and used on the UI thread.
class Win32Platform {
 public:
  // nullptr when the hidden timer window cannot be made.
  static std::unique_ptr<Win32Platform> Open();
  ~Win32Platform();
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  Platform& platform();
  // Runs the thread's message loop; the host ends through Process::EndProcess.
  void RunMessageLoop();

  struct Parts;

 private:
  explicit Win32Platform(std::unique_ptr<Parts> parts);
  std::unique_ptr<Parts> parts_;
};

// Hidden top-level windows that FindWindowA finds from any process; the system's close
// (WM_CLOSE, or the session ending) reaches onSystemClose.
std::unique_ptr<HiddenWindows> MakeWin32HiddenWindows();

// A WindowHandle and the HWND it stands for. Window handles carry 32 significant bits on
// 64-bit Windows, so the conversion keeps every real window.
void* ToHwnd(WindowHandle window);
WindowHandle FromHwnd(void* hwnd);

}  // namespace orvane
