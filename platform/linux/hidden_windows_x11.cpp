#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/hidden_windows.h"
#include "platform/linux/close_watch.h"

namespace orvane {
namespace {

class X11HiddenWindows final : public HiddenWindows {
 public:
  explicit X11HiddenWindows(Display* display)
      : display_(display),
        netWmName_(XInternAtom(display, "_NET_WM_NAME", False)),
        netWmPid_(XInternAtom(display, "_NET_WM_PID", False)),
        utf8String_(XInternAtom(display, "UTF8_STRING", False)) {}

  ~X11HiddenWindows() override {
    watch_.reset();
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
    if (!watch_) watch_.emplace([this] { SystemClose(); });
    return window;
  }

  void DestroyHiddenWindow(WindowHandle window) override {
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    windows_.erase(it);
    XDestroyWindow(display_, window);
    XFlush(display_);
    if (windows_.empty()) watch_.reset();
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
  Display* display_;
  Atom netWmName_;
  Atom netWmPid_;
  Atom utf8String_;
  std::map<Window, std::function<void()>> windows_;
  std::optional<CloseWatch> watch_;
  bool closed_ = false;
};

}  // namespace

std::unique_ptr<HiddenWindows> MakeX11HiddenWindows(Display* display) {
  return std::make_unique<X11HiddenWindows>(display);
}

}  // namespace orvane
