#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <glib-unix.h>
#include <signal.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

#include "platform/hidden_windows.h"

namespace orvane {
namespace {

// The signals by which the system closes the host's windows: logoff and shutdown (SIGTERM,
// SIGHUP) and an interrupt from the terminal (SIGINT).
constexpr int kCloseSignals[] = {SIGTERM, SIGHUP, SIGINT};

class X11HiddenWindows;
// Xlib's handler for a lost connection is a plain function, so it finds the windows here.
X11HiddenWindows* current = nullptr;

class X11HiddenWindows final : public HiddenWindows {
 public:
  explicit X11HiddenWindows(Display* display)
      : display_(display),
        netWmName_(XInternAtom(display, "_NET_WM_NAME", False)),
        netWmPid_(XInternAtom(display, "_NET_WM_PID", False)),
        utf8String_(XInternAtom(display, "UTF8_STRING", False)) {}

  ~X11HiddenWindows() override {
    StopWatching();
    for (const auto& [window, onClose] : windows_) XDestroyWindow(display_, window);
    XFlush(display_);
  }

  WindowHandle CreateHiddenWindow(std::string_view title,
                                  std::function<void()> onSystemClose) override {
    const Window window =
        XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
    if (window == 0) return 0;
    const std::string text(title);
    XTextProperty name{};
    char* list[] = {const_cast<char*>(text.c_str())};
    if (Xutf8TextListToTextProperty(display_, list, 1, XStdICCTextStyle, &name) >= Success) {
      XSetWMName(display_, window, &name);
      XFree(name.value);
    }
    XChangeProperty(display_, window, netWmName_, utf8String_, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()),
                    static_cast<int>(text.size()));
    const long pid = getpid();
    XChangeProperty(display_, window, netWmPid_, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    XClassHint hint{const_cast<char*>("orvane"), const_cast<char*>("Orvane")};
    XSetClassHint(display_, window, &hint);
    // Another host process looks for the title right away: the window must be on the server.
    XSync(display_, False);
    windows_[window] = std::move(onSystemClose);
    StartWatching();
    return window;
  }

  void DestroyHiddenWindow(WindowHandle window) override {
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    windows_.erase(it);
    XDestroyWindow(display_, window);
    XFlush(display_);
    if (windows_.empty()) StopWatching();
  }

  // The system closes the windows: each one's callback, once for the life of the process.
  void SystemClose() {
    if (closed_) return;
    closed_ = true;
    std::vector<std::function<void()>> callbacks;
    for (const auto& [window, onClose] : windows_) callbacks.push_back(onClose);
    for (const auto& onClose : callbacks) {
      if (onClose) onClose();
    }
  }

 private:
  void StartWatching() {
    if (watching_) return;
    watching_ = true;
    current = this;
    for (int signal : kCloseSignals) {
      sources_.push_back(g_unix_signal_add(signal, OnCloseSignal, this));
    }
    // A write to a connection the server has dropped must reach the handler below instead of
    // killing the process; the programs the host starts get SIGPIPE back before they run.
    ::signal(SIGPIPE, SIG_IGN);
    previousHandler_ = XSetIOErrorHandler(OnConnectionLost);
  }

  void StopWatching() {
    if (!watching_) return;
    watching_ = false;
    // GLib gives a signal its default action back once no source watches it any more.
    for (guint source : sources_) g_source_remove(source);
    sources_.clear();
    XSetIOErrorHandler(previousHandler_);
    if (current == this) current = nullptr;
  }

  static gboolean OnCloseSignal(gpointer data) {
    static_cast<X11HiddenWindows*>(data)->SystemClose();
    return G_SOURCE_CONTINUE;
  }

  // Xlib ends the process with code 1 when this handler returns; the close ends it first, and
  // a close that returns still ends it here, cleanly. Xlib makes every later request on the
  // dead connection a no-op, so the close may still call into it.
  [[noreturn]] static int OnConnectionLost(Display*) {
    if (current != nullptr) current->SystemClose();
    _exit(0);
  }

  Display* display_;
  Atom netWmName_;
  Atom netWmPid_;
  Atom utf8String_;
  std::map<Window, std::function<void()>> windows_;
  std::vector<guint> sources_;
  XIOErrorHandler previousHandler_ = nullptr;
  bool watching_ = false;
  bool closed_ = false;
};

}  // namespace

std::unique_ptr<HiddenWindows> MakeX11HiddenWindows(Display* display) {
  return std::make_unique<X11HiddenWindows>(display);
}

}  // namespace orvane
