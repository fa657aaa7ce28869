#include <functional>
#include <map>
#include <string>

#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"

namespace orvane {
namespace {

constexpr char kHiddenClass[] = "OrvaneHidden";

// Top-level windows that are never shown. The system's close of any of them (WM_CLOSE, or the
// session ending) runs that window's onSystemClose, once for all windows.
class Win32HiddenWindows final : public HiddenWindows {
 public:
  Win32HiddenWindows() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kHiddenClass;
    RegisterClassA(&windowClass);
  }
  ~Win32HiddenWindows() override {
    for (const auto& entry : windows_) DestroyWindow(entry.first);
  }

  WindowHandle CreateHiddenWindow(std::string_view title,
                                  std::function<void()> onSystemClose) override {
    HWND window = CreateWindowExA(0, kHiddenClass, std::string(title).c_str(), WS_OVERLAPPED, 0, 0,
                                  0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr) return 0;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    windows_[window] = std::move(onSystemClose);
    return FromHwnd(window);
  }

  void DestroyHiddenWindow(WindowHandle handle) override {
    HWND window = static_cast<HWND>(ToHwnd(handle));
    if (windows_.erase(window) > 0) DestroyWindow(window);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32HiddenWindows*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    const bool systemClose = message == WM_CLOSE || (message == WM_ENDSESSION && wParam);
    if (self == nullptr || !systemClose) return DefWindowProcA(window, message, wParam, lParam);
    const auto found = self->windows_.find(window);
    if (!self->closed_ && found != self->windows_.end() && found->second) {
      self->closed_ = true;
      // A copy, since the close may destroy the window and its entry.
      const std::function<void()> close = found->second;
      close();
    }
    return 0;
  }

  std::map<HWND, std::function<void()>> windows_;
  bool closed_ = false;
};

}  // namespace

std::unique_ptr<HiddenWindows> MakeWin32HiddenWindows() {
  return std::make_unique<Win32HiddenWindows>();
}

}  // namespace orvane
