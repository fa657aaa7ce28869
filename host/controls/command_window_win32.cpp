#include "host/controls/command_window_win32.h"

#include <algorithm>

#include "host/controls/face_painter_win32.h"
#include "host/controls/picture_bitmap_win32.h"

namespace orvane {
namespace {

constexpr wchar_t kClassName[] = L"OrvaneCommand";
constexpr UINT_PTR kHoverTimer = 1;

// A mouse message's button as the control numbers it: left 1, right 2, middle 4; 0 for any
// other (which the control ignores).
std::int16_t ButtonOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      return kLeftButton;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
      return kRightButton;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
      return kMiddleButton;
    default:
      return 0;
  }
}

}  // namespace

// The window's state: the platform the control talks to, the control itself and the caption's
// painter. Messages go to the control as they come.
class CommandWindow::Shell final : public CommandPlatform {
 public:
  explicit Shell(const TwipsScale& scale) : scale_(scale), control_(*this) {}
  ~Shell() override {
    if (window_ != nullptr) {
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      DestroyWindow(window_);
    }
  }

  // CommandPlatform
  void Show() override {
    if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
  }
  void StartHoverTimer(std::chrono::milliseconds interval) override {
    if (window_ != nullptr)
      SetTimer(window_, kHoverTimer, static_cast<UINT>(interval.count()), nullptr);
  }
  std::optional<WindowId> WindowUnderPointer() override {
    POINT at{};
    if (!GetCursorPos(&at)) return std::nullopt;
    return IdOf(WindowFromPoint(at));
  }
  std::optional<WindowId> ControlWindow() override {
    if (window_ == nullptr) return std::nullopt;
    return IdOf(window_);
  }
  void TakeFocus() override {
    if (GetFocus() != window_) SetFocus(window_);
  }
  TwipsScale Scale() override { return scale_; }

  Command& Control() { return control_; }
  HWND& Window() { return window_; }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_PAINT:
        Paint();
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_SIZE:
        control_.ResizePixels(LOWORD(lParam), HIWORD(lParam));
        return 0;
      case WM_TIMER:
        if (wParam == kHoverTimer) control_.OnHoverTick();
        return 0;
      case WM_MOUSEMOVE:
        control_.PointerMoved();
        return 0;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDBLCLK: {
        SetCapture(window_);
        control_.PointerPressed(ButtonOf(message), message == WM_LBUTTONDBLCLK ||
                                                       message == WM_RBUTTONDBLCLK ||
                                                       message == WM_MBUTTONDBLCLK);
        return 0;
      }
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        // The capture ends with the last button held.
        if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == window_) {
          ReleaseCapture();
        }
        control_.PointerReleased(ButtonOf(message));
        return 0;
      case WM_SETFOCUS:
        control_.FocusMoved(true);
        return 0;
      case WM_KILLFOCUS: {
        const HWND next = reinterpret_cast<HWND>(wParam);
        control_.FocusMoved(
            false, next != nullptr && GetAncestor(next, GA_ROOT) == GetAncestor(window_, GA_ROOT));
        return 0;
      }
      case WM_GETDLGCODE:
        // No key of its own: Tab moves past it, and Enter and space do nothing.
        return 0;
      default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
  }

 private:
  static WindowId IdOf(HWND window) {
    return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window));
  }

  void Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client{};
    GetClientRect(window_, &client);
    // The face and the caption are put together off screen, then shown at once.
    MemoryBitmap frame;
    if (frame.Make(std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom))) {
      const CommandFace face = control_.Face();
      if (face.Shown) {
        DrawFace(frame.Dc(), face);
      } else {
        // A transparent face: the container's background shows through.
        HWND parent = GetParent(window_);
        POINT origin{0, 0};
        MapWindowPoints(window_, parent, &origin, 1);
        SetViewportOrgEx(frame.Dc(), -origin.x, -origin.y, nullptr);
        SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(frame.Dc()),
                     PRF_CLIENT | PRF_ERASEBKGND);
        SetViewportOrgEx(frame.Dc(), 0, 0, nullptr);
      }
      caption_.Draw(frame.Dc(), face.Caption, control_.Label(), scale_);
      BitBlt(dc, 0, 0, client.right, client.bottom, frame.Dc(), 0, 0, SRCCOPY);
    }
    EndPaint(window_, &paint);
  }

  TwipsScale scale_;
  Command control_;
  HWND window_ = nullptr;
  CaptionPainter caption_;
};

namespace {

LRESULT CALLBACK CommandProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* shell = static_cast<CommandWindow::Shell*>(create->lpCreateParams);
    shell->Window() = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(shell));
  }
  auto* shell = reinterpret_cast<CommandWindow::Shell*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (shell == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return shell->Handle(message, wParam, lParam);
}

void RegisterCommandClass() {
  static const bool registered = [] {
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = CommandProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    return RegisterClassW(&windowClass) != 0;
  }();
  (void)registered;
}

}  // namespace

CommandWindow::CommandWindow(HWND parent, const TwipsScale& scale, double leftTwips,
                             double topTwips, double widthTwips, double heightTwips)
    : shell_(std::make_unique<Shell>(scale)) {
  RegisterCommandClass();
  const Rect place = PlacedPixels(shell_->Scale(), leftTwips, topTwips, widthTwips, heightTwips);
  CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, place.X, place.Y,
                  place.Width, place.Height, parent, nullptr, GetModuleHandleW(nullptr),
                  shell_.get());
}

CommandWindow::~CommandWindow() = default;

HWND CommandWindow::Window() const {
  return shell_->Window();
}

Command& CommandWindow::Control() {
  return shell_->Control();
}

}  // namespace orvane
