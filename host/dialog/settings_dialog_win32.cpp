// The settings dialog as a Win32 window, its messages forwarded to SettingsForm.
#include "platform/win32/windows_api.h"
// After the Windows headers, which they need.
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>

#include "host/Orvane_B.h"
#include "host/controls/command_window_win32.h"
#include "host/dialog/Orvane_P.h"
#include "host/dialog/dialog_paint_win32.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace orvane {
namespace {

// The open-file dialog's answer, in characters with the closing NUL.
constexpr size_t kFileBufferCharacters = 4096;

// The system's open-file dialog over owner as the request says, with no flags: the chosen path
// (UTF-8), or nothing when the user cancelled or the dialog failed.
std::optional<std::string> RunOpenFileDialog(HWND owner, const OpenFileRequest& request) {
  // The wide record of this system's own size: the ANSI record the design names is refused on
  // 64-bit Windows, and the wide one shows the Japanese title and filter on any code page.
  const std::wstring title = Utf16(request.Title);
  std::wstring filter = Utf16(request.FilterName);
  filter += L'\0';
  filter += Utf16(request.FilterPattern);
  filter += L'\0';
  const std::wstring folder = Utf16(request.InitialFolder);
  // Room for any path; whether the settings can hold it is the form's to decide.
  std::wstring file(kFileBufferCharacters, L'\0');
  std::wstring fileTitle(255, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.hInstance = GetModuleHandleW(nullptr);
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrFileTitle = fileTitle.data();
  dialog.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.c_str();
  if (GetOpenFileNameW(&dialog) <= 0) return std::nullopt;
  return Utf8(file.c_str());
}

constexpr wchar_t kFormClass[] = L"OrvaneSettings";
constexpr wchar_t kPanelClass[] = L"OrvanePanel";
constexpr int kRepeatId = 100;

// How far the repeat box's list drops below it.
constexpr int kRepeatListPixels = 200;

// IDC_ARROW and IDC_WAIT are resource numbers, typed for the A functions here.
HCURSOR SystemCursor(LPCSTR name) {
  return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(name));
}

class SettingsDialogWin32 final : ShownFormView {
 public:
  explicit SettingsDialogWin32(Platform& platform);
  ~SettingsDialogWin32() override;

  // Runs the load steps, shows the dialog and handles messages until it has closed. Tab moves
  // the focus; Enter and Escape do nothing, as the dialog has no default or cancel button.
  void ShowModal();

 private:
  // SettingsFormView
  WindowHandle Handle() override { return FromHwnd(window_); }
  void Move(DialogPoint topLeft) override {
    SetWindowPos(window_, nullptr, topLeft.X, topLeft.Y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void SetRepeatEnabled(bool enabled) override { EnableWindow(repeat_, enabled ? TRUE : FALSE); }
  void SetRepeatText(const std::string& text) override {
    SetWindowTextW(repeat_, Utf16(text).c_str());
  }
  std::string RepeatText() override {
    const int length = GetWindowTextLengthW(repeat_);
    std::wstring text(static_cast<size_t>(std::max(0, length)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(repeat_, text.data(), length + 1)));
    return Utf8(text);
  }
  void AddRepeatEntry(const std::string& text) override {
    const std::wstring entry = Utf16(text);
    SendMessageW(repeat_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
  std::optional<std::string> OpenFile(const OpenFileRequest& request) override {
    return RunOpenFileDialog(window_, request);
  }
  bool OpenAddress(const std::string& address) override {
    const std::wstring target = Utf16(address);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(window_, L"open", target.c_str(), L"", L"", SW_SHOWNORMAL));
    return result > 32;
  }
  void SetBusyPointer(bool busy) override;
  void Present() override {
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    SetForegroundWindow(window_);
    // No control has the focus when the dialog opens: the dialog itself holds it.
    SetFocus(window_);
  }
  void Close() override { ShowWindow(window_, SW_HIDE); }
  // ShownFormView
  void Repaint(DialogContainer container) override;
  // The path is kept in the ANSI code page, as the profile and multimedia functions take it.
  std::string Readable(const std::string& name) override { return Utf8(Utf16FromAnsi(name)); }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static void RegisterClasses();
  LRESULT Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool SetPointer(HWND window, WPARAM wParam, LPARAM lParam);
  void BuildControls(HINSTANCE instance);
  void AddTooltip(HINSTANCE instance);
  void FitRepeatBox();

  TwipsScale scale_;
  SettingsForm form_;
  DialogGdi gdi_;
  HWND window_ = nullptr;
  HWND panel_ = nullptr;
  HWND repeat_ = nullptr;
  HWND tooltip_ = nullptr;
  // The Command buttons in the table's order, the file button first.
  std::vector<std::unique_ptr<CommandWindow>> buttons_;
  bool busy_ = false;
};

SettingsDialogWin32::SettingsDialogWin32(Platform& platform)
    : scale_{platform.screenMetrics.TwipsPerPixelX(), platform.screenMetrics.TwipsPerPixelY()},
      form_(platform, *this),
      gdi_(scale_) {
  RegisterClasses();
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // A fixed single border with a title bar and a close box: no minimise, no maximise.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_CONTROLPARENT;
  RECT outer{0, 0, scale_.ToPixelsX(kDialogInnerWidth), scale_.ToPixelsY(kDialogInnerHeight)};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  const std::wstring title = Utf16(DialogWindowTitle);
  window_ =
      CreateWindowExW(exStyle, kFormClass, title.c_str(), style, 0, 0, outer.right - outer.left,
                      outer.bottom - outer.top, nullptr, nullptr, instance, this);
  BuildControls(instance);
  AddTooltip(instance);
}

SettingsDialogWin32::~SettingsDialogWin32() {
  buttons_.clear();
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    SetWindowLongPtrW(panel_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (tooltip_ != nullptr) DestroyWindow(tooltip_);
}

// The music panel and the controls with windows of their own, each where the table puts it.
void SettingsDialogWin32::BuildControls(HINSTANCE instance) {
  for (const DialogControl& control : DialogControls()) {
    const Rect rect = ToPixels(control, scale_);
    const HWND container = control.Container == DialogContainer::Panel ? panel_ : window_;
    switch (control.Kind) {
      case DialogControlKind::Panel:
        panel_ = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect.X, rect.Y,
                                 rect.Width, rect.Height, window_, nullptr, instance, this);
        break;
      case DialogControlKind::Combo:
        repeat_ = CreateWindowExW(
            0, L"COMBOBOX", L"",
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
            rect.X, rect.Y, rect.Width, rect.Height + kRepeatListPixels, container,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRepeatId)), instance, nullptr);
        SendMessageW(repeat_, WM_SETFONT, reinterpret_cast<WPARAM>(gdi_.FontOf(control)), FALSE);
        FitRepeatBox();
        break;
      case DialogControlKind::Command: {
        auto& button = buttons_.emplace_back(std::make_unique<CommandWindow>(
            container, scale_, control.Left, control.Top, control.Width, control.Height));
        form_.SetUpButton(control, button->Control());
        break;
      }
      default:
        break;  // painted
    }
  }
}

// The music file's label, which may show less than the whole path, has it as its tooltip.
void SettingsDialogWin32::AddTooltip(HINSTANCE instance) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
  TTTOOLINFOW tool{TTTOOLINFOW_V2_SIZE, TTF_SUBCLASS, panel_};
  const Rect rect = ToPixels(DialogControlNamed("lbl_Fname"), scale_);
  tool.rect = RECT{rect.X, rect.Y, rect.X + rect.Width, rect.Y + rect.Height};
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The box's closed height follows its font; its selection field is made as tall as the
// design's place for it.
void SettingsDialogWin32::FitRepeatBox() {
  const int wanted = ToPixels(DialogControlNamed("BGM_Repeat"), scale_).Height;
  LRESULT item = SendMessageW(repeat_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  if (item == CB_ERR) return;
  // The height read back need not be the one that was set: steer by the box's own height.
  for (int attempt = 0; attempt < 4; ++attempt) {
    RECT rect{};
    GetWindowRect(repeat_, &rect);
    const int height = rect.bottom - rect.top;
    if (height == wanted) return;
    item = std::max<LRESULT>(1, item + (wanted - height));
    SendMessageW(repeat_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item);
    // The box lays itself out again on a new size.
    SetWindowPos(repeat_, nullptr, 0, 0, rect.right - rect.left, wanted + kRepeatListPixels,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void SettingsDialogWin32::Repaint(DialogContainer container) {
  InvalidateRect(container == DialogContainer::Form ? window_ : panel_, nullptr, FALSE);
  if (tooltip_ == nullptr || container != DialogContainer::Panel) return;
  // The tooltip follows the path.
  const std::wstring text = Utf16(Shown().FileCaption);
  TTTOOLINFOW tool{TTTOOLINFOW_V2_SIZE, 0, panel_};
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void SettingsDialogWin32::ShowModal() {
  form_.Open();
  MSG message;
  while (!form_.Unloaded()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    // Tab and the arrows move the focus as in any dialog; IsDialogMessage's Enter and Escape
    // (IDOK, IDCANCEL) reach a form that has no use for them.
    if (IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void SettingsDialogWin32::SetBusyPointer(bool busy) {
  busy_ = busy;
  POINT at{};
  GetCursorPos(&at);
  // The new pointer shows at once, not only at the next movement.
  if (WindowFromPoint(at) == window_ || IsChild(window_, WindowFromPoint(at))) {
    SetCursor(SystemCursor(busy ? IDC_WAIT : IDC_ARROW));
  }
}

// The form's and the panel's messages alike.
LRESULT CALLBACK SettingsDialogWin32::Procedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<SettingsDialogWin32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  // Messages come from the windows' creation on, before CreateWindowEx has given the handles.
  if (self->window_ == nullptr) self->window_ = window;
  if (self->panel_ == nullptr && window != self->window_) self->panel_ = window;
  return self->Message(window, message, wParam, lParam);
}

void SettingsDialogWin32::RegisterClasses() {
  static const bool registered = [] {
    WNDCLASSW form{};
    form.lpfnWndProc = Procedure;
    form.hInstance = GetModuleHandleW(nullptr);
    form.hCursor = SystemCursor(IDC_ARROW);
    form.lpszClassName = kFormClass;
    WNDCLASSW panel = form;
    panel.lpszClassName = kPanelClass;
    return RegisterClassW(&form) != 0 && RegisterClassW(&panel) != 0;
  }();
  (void)registered;
}

LRESULT SettingsDialogWin32::Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool onPanel = window == panel_;
  switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      PaintWindow(window, message == WM_PAINT ? nullptr : reinterpret_cast<HDC>(wParam),
                  onPanel ? DialogContainer::Panel : DialogContainer::Form, Shown(), gdi_, scale_);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP: {
      // Presses count where they lie on the form.
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (onPanel) MapWindowPoints(panel_, window_, &at, 1);
      if (message == WM_LBUTTONUP) {
        form_.MouseUp(kLeftButton, at.x, at.y);
      } else {
        form_.MouseDown(message == WM_LBUTTONDOWN   ? kLeftButton
                        : message == WM_RBUTTONDOWN ? kRightButton
                                                    : kMiddleButton,
                        at.x, at.y);
      }
      return 0;
    }
    case WM_SETCURSOR:
      if (SetPointer(window, wParam, lParam)) return TRUE;
      break;
    case WM_SIZE:
      if (onPanel) break;
      form_.Resize(HIWORD(lParam));
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (!onPanel) break;
      // The repeat box in its own colour.
      SetBkColor(reinterpret_cast<HDC>(wParam),
                 ColourOf(DialogControlNamed("BGM_Repeat").BackColour));
      return reinterpret_cast<LRESULT>(gdi_.BoxBack());
    case WM_COMMAND:
      // IDOK and IDCANCEL from Enter and Escape: the dialog has no such buttons.
      return 0;
    case WM_CLOSE:
      if (onPanel) break;
      form_.Cancel();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// While the web link opens, the hourglass shows over the form and its panel alike; over the
// link, the link's own pointer.
bool SettingsDialogWin32::SetPointer(HWND window, WPARAM wParam, LPARAM lParam) {
  if (busy_) {
    SetCursor(SystemCursor(IDC_WAIT));
    return true;
  }
  if (window != window_ || reinterpret_cast<HWND>(wParam) != window_ || LOWORD(lParam) != HTCLIENT)
    return false;
  POINT at{};
  GetCursorPos(&at);
  ScreenToClient(window_, &at);
  if (!form_.OverLink(at.x, at.y) || gdi_.LinkPointer() == nullptr) return false;
  SetCursor(gdi_.LinkPointer());
  return true;
}

}  // namespace

void ShowSettingsDialog(Platform& platform) {
  SettingsDialogWin32 dialog(platform);
  dialog.ShowModal();
}

}  // namespace orvane
