#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/hidden_windows.h"

namespace orvane {

// HiddenWindows for tests. It writes its calls into a call list of the test's (a FakePlatform's
// calls, so that the order against the other platform calls shows), as the lines
//   "CreateHiddenWindow <title>"   "DestroyHiddenWindow <window>"
// and, with a title map (a FakePlatform's windowsByTitle), makes its windows findable there.
class FakeHiddenWindows final : public HiddenWindows {
 public:
  explicit FakeHiddenWindows(std::vector<std::string>& calls,
                             std::map<std::string, WindowHandle>* windowsByTitle = nullptr)
      : calls_(calls), windowsByTitle_(windowsByTitle) {}

  WindowHandle CreateHiddenWindow(std::string_view title,
                                  std::function<void()> onSystemClose) override {
    calls_.push_back("CreateHiddenWindow " + std::string(title));
    const WindowHandle window = nextWindow_++;
    windows[window] = Entry{std::string(title), std::move(onSystemClose)};
    if (windowsByTitle_) windowsByTitle_->emplace(std::string(title), window);
    return window;
  }

  void DestroyHiddenWindow(WindowHandle window) override {
    calls_.push_back("DestroyHiddenWindow " + std::to_string(window));
    auto it = windows.find(window);
    if (it == windows.end()) return;
    if (windowsByTitle_) {
      auto titled = windowsByTitle_->find(it->second.title);
      if (titled != windowsByTitle_->end() && titled->second == window) {
        windowsByTitle_->erase(titled);
      }
    }
    windows.erase(it);
  }

  // The system closes the host's windows (a signal, or the X connection lost): like the real
  // one, the callbacks run once for the life of this object, however often it is called.
  void SystemClose() {
    if (closed_) return;
    closed_ = true;
    std::vector<std::function<void()>> callbacks;
    for (const auto& [window, entry] : windows) callbacks.push_back(entry.onSystemClose);
    for (const auto& callback : callbacks) {
      if (callback) callback();
    }
  }

  struct Entry {
    std::string title;
    std::function<void()> onSystemClose;
  };
  // The windows that exist.
  std::map<WindowHandle, Entry> windows;

 private:
  std::vector<std::string>& calls_;
  std::map<std::string, WindowHandle>* windowsByTitle_;
  WindowHandle nextWindow_ = 0x400001;
  bool closed_ = false;
};

}  // namespace orvane
