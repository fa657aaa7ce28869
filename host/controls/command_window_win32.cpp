#include "host/controls/command_window_win32.h"

#include <algorithm>

#include "host/controls/face_painter_win32.h"
#include "host/controls/picture_bitmap_win32.h"

namespace orvane {
namespace {

constexpr wchar_t kClassName[] = L"OrvaneCommand";
constexpr UINT_PTR kHoverTimer = 1;

WindowId IdOf(HWND window) {
  return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window));
}

}  // namespace

CommandWindow::CommandWindow(HWND parent, const TwipsScale& scale, double leftTwips,
                             double topTwips, double widthTwips, double heightTwips)
    : control_(*this, scale) {
  static const bool registered = [] {
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    return RegisterClassW(&windowClass) != 0;
  }();
  (void)registered;
  const Rect place = PlacedPixels(scale, leftTwips, topTwips, widthTwips, heightTwips);
  CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, place.X, place.Y,
                  place.Width, place.Height, parent, nullptr, GetModuleHandleW(nullptr), this);
}

CommandWindow::~CommandWindow() {
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

void CommandWindow::Show() {
  if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
}

void CommandWindow::StartHoverTimer(std::chrono::milliseconds interval) {
  if (window_ != nullptr)
    SetTimer(window_, kHoverTimer, static_cast<UINT>(interval.count()), nullptr);
}

std::optional<WindowId> CommandWindow::WindowUnderPointer() {
  POINT at{};
  if (!GetCursorPos(&at)) return std::nullopt;
  return IdOf(WindowFromPoint(at));
}

std::optional<WindowId> CommandWindow::ControlWindow() {
  if (window_ == nullptr) return std::nullopt;
  return IdOf(window_);
}

void CommandWindow::TakeFocus() {
  if (GetFocus() != window_) SetFocus(window_);
}

LRESULT CALLBACK CommandWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<CommandWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<CommandWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT CommandWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) {
    // Left, right and middle in turn each have a press, a release and a double-click message:
    // buttons 1, 2 and 4.
    const auto button = static_cast<std::int16_t>(1 << (message - WM_LBUTTONDOWN) / 3);
    if ((message - WM_LBUTTONDOWN) % 3 != 1) {
      SetCapture(window_);
      control_.PointerPressed(button, (message - WM_LBUTTONDOWN) % 3 == 2);
      return 0;
    }
    // The capture ends with the last button held.
    if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == window_) {
      ReleaseCapture();
    }
    control_.PointerReleased(button);
    return 0;
  }
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
      control_.OnMouseMove();
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

void CommandWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  RECT client{};
  GetClientRect(window_, &client);
  // The face and the caption are put together off screen, then shown at once.
  MemoryBitmap frame(MakeDib(std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom)));
  if (frame.Dc() != nullptr) {
    const CommandFace face = control_.Face();
    if (!face.Shown) {
      // A transparent face: the container's background shows through.
      HWND parent = GetParent(window_);
      POINT origin{0, 0};
      MapWindowPoints(window_, parent, &origin, 1);
      SetViewportOrgEx(frame.Dc(), -origin.x, -origin.y, nullptr);
      SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(frame.Dc()),
                   PRF_CLIENT | PRF_ERASEBKGND);
      SetViewportOrgEx(frame.Dc(), 0, 0, nullptr);
    }
    DrawFace(frame.Dc(), face, control_.Scale());
    BitBlt(dc, 0, 0, client.right, client.bottom, frame.Dc(), 0, 0, SRCCOPY);
  }
  EndPaint(window_, &paint);
}

}  // namespace orvane
