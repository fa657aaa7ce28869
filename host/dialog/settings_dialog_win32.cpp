#include "host/dialog/settings_dialog_win32.h"

#include <shellapi.h>
// commdlg.h after windows.h: the file dialog's record and function.
#include <commdlg.h>

#include <algorithm>

#include "host/Orvane_B.h"
#include "host/controls/wide_text_win32.h"
#include "host/dialog/Orvane_P.h"
#include "host/dialog/dialog_layout.h"
#include "host/dialog/dialog_pictures.h"
#include "host/dialog/path_elision.h"
#include "platform/win32/win32_platform.h"

namespace orvane {
namespace {

constexpr wchar_t kFormClass[] = L"OrvaneSettings";
constexpr wchar_t kPanelClass[] = L"OrvanePanel";
constexpr int kRepeatId = 100;
// The open-file dialog's answer, in characters with the closing NUL.
constexpr size_t kFileBufferCharacters = 4096;

// The labels' font, as the design names it, and its size in points.
constexpr char kLabelFont[] = "ＭＳ Ｐゴシック";
constexpr double kLabelPoints = 9.75;

constexpr COLORREF kFormBackColour = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kPanelBackColour = RGB(0xE0, 0xE0, 0xE0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);

// How far the repeat box's list drops below it.
constexpr int kRepeatListPixels = 200;

RECT RectOf(const DialogRect& r) {
  return RECT{r.X, r.Y, r.X + r.Width, r.Y + r.Height};
}

// A 24-bit picture as a 32-bit DIB section of its own.
HBITMAP BitmapOf(const Picture& picture, bool withAlpha = false) {
  if (!picture.Valid()) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.Width;
  info.bmiHeader.biHeight = -picture.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < picture.Height; ++y) {
    for (int x = 0; x < picture.Width; ++x) {
      pixels[static_cast<size_t>(y) * picture.Width + x] =
          picture.At(x, y) | (withAlpha ? 0xFF000000u : 0);
    }
  }
  return bitmap;
}

// The web link's own pointer, from its RGBA picture.
HCURSOR LinkCursor() {
  const PointerPicture& picture = LinkPointer();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.Width;
  info.bmiHeader.biHeight = -picture.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (colour == nullptr) return nullptr;
  auto* pixels = static_cast<std::uint8_t*>(bits);
  for (size_t i = 0; i + 3 < picture.Rgba.size(); i += 4) {
    pixels[i] = picture.Rgba[i + 2];
    pixels[i + 1] = picture.Rgba[i + 1];
    pixels[i + 2] = picture.Rgba[i];
    pixels[i + 3] = picture.Rgba[i + 3];
  }
  std::vector<std::uint8_t> zeros(static_cast<size_t>(picture.Width) * picture.Height / 8, 0);
  HBITMAP mask = CreateBitmap(picture.Width, picture.Height, 1, 1, zeros.data());
  ICONINFO icon{};
  icon.fIcon = FALSE;
  icon.xHotspot = static_cast<DWORD>(picture.HotX);
  icon.yHotspot = static_cast<DWORD>(picture.HotY);
  icon.hbmMask = mask;
  icon.hbmColor = colour;
  HCURSOR cursor = CreateIconIndirect(&icon);
  DeleteObject(colour);
  if (mask != nullptr) DeleteObject(mask);
  return cursor;
}

// The bitmap drawn at (x, y) in size.X x size.Y pixels, each of its pixels repeated.
void Blit(HDC dc, HBITMAP bitmap, int x, int y, DialogPoint size) {
  if (bitmap == nullptr) return;
  BITMAP own{};
  GetObjectW(bitmap, sizeof own, &own);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, x, y, size.X, size.Y, source, 0, 0, own.bmWidth, own.bmHeight, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

// A transparent label's text: one line from the top-left corner (or centred across), or, for
// a label of several lines, wrapped within it and cut off at its edges.
void DrawLabel(HDC dc, const DialogRect& place, const std::wstring& text, COLORREF colour,
               UINT format) {
  if (text.empty()) return;
  RECT rect = RectOf(place);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_NOPREFIX);
}

constexpr UINT kOneLine = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP;
constexpr UINT kWrapped = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EDITCONTROL;

// A drawing of a window's client area off screen, shown at once when it goes out of scope.
class BufferedPaint {
 public:
  explicit BufferedPaint(HWND window) : window_(window) {
    target_ = BeginPaint(window_, &paint_);
    GetClientRect(window_, &client_);
    dc_ = CreateCompatibleDC(target_);
    bitmap_ = CreateCompatibleBitmap(target_, std::max<LONG>(1, client_.right),
                                     std::max<LONG>(1, client_.bottom));
    old_ = SelectObject(dc_, bitmap_);
  }
  ~BufferedPaint() {
    BitBlt(target_, 0, 0, client_.right, client_.bottom, dc_, 0, 0, SRCCOPY);
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    EndPaint(window_, &paint_);
  }
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;
  HDC Dc() const { return dc_; }
  const RECT& Client() const { return client_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC target_ = nullptr;
  RECT client_{};
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

BOOL CALLBACK CollectCommands(HWND window, LPARAM data) {
  if (Command* command = CommandOfWindow(window)) {
    reinterpret_cast<std::vector<Command*>*>(data)->push_back(command);
  }
  return TRUE;
}

}  // namespace

// The window procedures of the form and of its panel, handing each message to the dialog.
class SettingsDialogWin32::Procedures {
 public:
  static LRESULT CALLBACK Form(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* self = Attach(window, message, lParam)) {
      // The form's messages from its creation on need its handle.
      self->window_ = window;
      return self->FormMessage(message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
  static LRESULT CALLBACK Panel(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* self = Attach(window, message, lParam)) {
      self->panel_ = window;
      return self->PanelMessage(message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
  static void Register() {
    static const bool registered = [] {
      WNDCLASSW form{};
      form.lpfnWndProc = Form;
      form.hInstance = GetModuleHandleW(nullptr);
      form.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
      form.lpszClassName = kFormClass;
      WNDCLASSW panel = form;
      panel.lpfnWndProc = Panel;
      panel.lpszClassName = kPanelClass;
      return RegisterClassW(&form) != 0 && RegisterClassW(&panel) != 0;
    }();
    (void)registered;
  }

 private:
  static SettingsDialogWin32* Attach(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<SettingsDialogWin32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
};

SettingsDialogWin32::SettingsDialogWin32(Platform& platform)
    : platform_(platform),
      scale_{platform.screenMetrics.TwipsPerPixelX(), platform.screenMetrics.TwipsPerPixelY()},
      form_(platform, *this) {
  Procedures::Register();
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  labelFont_ = MakeFont(FontInfo{kLabelFont, kLabelPoints, 400, false, false, false, 128}, scale_);
  linkFont_ = MakeFont(FontInfo{kLabelFont, kLabelPoints, 400, false, true, false, 128}, scale_);
  tile_ = BitmapOf(BackgroundTile());
  markBitmaps_[0] = BitmapOf(MarkPicture(0));
  markBitmaps_[1] = BitmapOf(MarkPicture(1));
  linkPointer_ = LinkCursor();

  // A fixed single border with a title bar and a close box: no minimise, no maximise.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_CONTROLPARENT;
  RECT outer{0, 0, scale_.ToPixelsX(kDialogInnerWidth), scale_.ToPixelsY(kDialogInnerHeight)};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  const std::wstring title = WideFromUtf8(DialogWindowTitle);
  window_ =
      CreateWindowExW(exStyle, kFormClass, title.c_str(), style, 0, 0, outer.right - outer.left,
                      outer.bottom - outer.top, nullptr, nullptr, instance, this);

  const DialogRect panel = ToPixels(DialogControlNamed("Pic_C"), scale_);
  panel_ = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"",
                           WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, panel.X, panel.Y, panel.Width,
                           panel.Height, window_, nullptr, instance, this);

  const DialogRect repeat = ToPixels(DialogControlNamed("BGM_Repeat"), scale_);
  repeat_ = CreateWindowExW(
      0, L"COMBOBOX", L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, repeat.X,
      repeat.Y, repeat.Width, repeat.Height + kRepeatListPixels, panel_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRepeatId)), instance, nullptr);
  SendMessageW(repeat_, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_), FALSE);
  FitRepeatBox();

  PlaceCommand(fileButton_, panel_, "Cmd_File", "...");
  PlaceCommand(setButton_, window_, "Cmd_Set", "設定");
  PlaceCommand(cancelButton_, window_, "Cmd_Can", "ｷｬﾝｾﾙ");
  fileButton_->Control().ConnectClick([this] { form_.ChooseFile(); });
  setButton_->Control().ConnectClick([this] { form_.Save(); });
  cancelButton_->Control().ConnectClick([this] { form_.Cancel(); });
}

SettingsDialogWin32::~SettingsDialogWin32() {
  fileButton_.reset();
  setButton_.reset();
  cancelButton_.reset();
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    SetWindowLongPtrW(panel_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(labelFont_), static_cast<HGDIOBJ>(linkFont_),
                         static_cast<HGDIOBJ>(tile_), static_cast<HGDIOBJ>(markBitmaps_[0]),
                         static_cast<HGDIOBJ>(markBitmaps_[1])}) {
    if (object != nullptr) DeleteObject(object);
  }
  if (linkPointer_ != nullptr) DestroyCursor(linkPointer_);
}

void SettingsDialogWin32::PlaceCommand(std::unique_ptr<CommandWindow>& button, HWND container,
                                       std::string_view name, const char* caption) {
  const DialogControl& place = DialogControlNamed(name);
  button =
      std::make_unique<CommandWindow>(container, place.Left, place.Top, place.Width, place.Height);
  // The stored design: the caption, and the dialog's font (ＭＳ Ｐゴシック 9.75 points).
  PropertyBag design;
  design.Write("Caption", std::string(caption), std::string("Command"));
  design.Write("Font", FontInfo{}, button->Options().AmbientFont);
  button->Control().LoadFromBag(design);
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

void SettingsDialogWin32::Show() {
  form_.Load();
  if (closed_) return;
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  SetForegroundWindow(window_);
  // No control has the focus when the dialog opens: the dialog itself holds it.
  SetFocus(window_);
}

void SettingsDialogWin32::RunModal() {
  MSG message;
  while (!closed_) {
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

HWND SettingsDialogWin32::ControlWindow(std::string_view name) const {
  if (name == "Pic_C") return panel_;
  if (name == "BGM_Repeat") return repeat_;
  if (name == "Cmd_File") return fileButton_->Window();
  if (name == "Cmd_Set") return setButton_->Window();
  if (name == "Cmd_Can") return cancelButton_->Window();
  return nullptr;
}

WindowHandle SettingsDialogWin32::Handle() {
  return FromHwnd(window_);
}

DialogPoint SettingsDialogWin32::Size() {
  RECT rect{};
  GetWindowRect(window_, &rect);
  return DialogPoint{rect.right - rect.left, rect.bottom - rect.top};
}

void SettingsDialogWin32::Move(DialogPoint topLeft) {
  SetWindowPos(window_, nullptr, topLeft.X, topLeft.Y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<Command*> SettingsDialogWin32::CommandButtons() {
  std::vector<Command*> commands;
  EnumChildWindows(window_, CollectCommands, reinterpret_cast<LPARAM>(&commands));
  return commands;
}

void SettingsDialogWin32::PaintBackground(const std::vector<RowColour>& rows) {
  rows_ = rows;
  InvalidateRect(window_, nullptr, FALSE);
}

void SettingsDialogWin32::TilePanel(const std::vector<DialogPoint>& positions) {
  tiles_ = positions;
  InvalidateRect(panel_, nullptr, FALSE);
}

void SettingsDialogWin32::SetChoiceMark(int index, ChoiceMark mark) {
  marks_.at(static_cast<size_t>(index)) = mark;
  InvalidateRect(panel_, nullptr, FALSE);
}

void SettingsDialogWin32::SetRepeatEnabled(bool enabled) {
  EnableWindow(repeat_, enabled ? TRUE : FALSE);
}

void SettingsDialogWin32::SetRepeatText(const std::string& text) {
  SetWindowTextW(repeat_, WideFromUtf8(text).c_str());
}

std::string SettingsDialogWin32::RepeatText() {
  const int length = GetWindowTextLengthW(repeat_);
  std::wstring text(static_cast<size_t>(std::max(0, length)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(repeat_, text.data(), length + 1)));
  return Utf8FromWide(text);
}

void SettingsDialogWin32::AddRepeatEntry(const std::string& text) {
  const std::wstring entry = WideFromUtf8(text);
  SendMessageW(repeat_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

void SettingsDialogWin32::SetFileCaption(const std::string& text) {
  // The path is kept in the ANSI code page, as the profile and multimedia functions take it.
  fileCaption_ = WideFromAnsi(text);
  shownCaption_.reset();
  InvalidateRect(panel_, nullptr, FALSE);
}

std::optional<std::string> SettingsDialogWin32::OpenFile(const OpenFileRequest& request) {
  // The wide record of this system's own size: the ANSI record the design names is refused on
  // 64-bit Windows, and the wide one shows the Japanese title and filter on any code page.
  const std::wstring title = WideFromUtf8(request.Title);
  std::wstring filter = WideFromUtf8(request.FilterName);
  filter += L'\0';
  filter += WideFromUtf8(request.FilterPattern);
  filter += L'\0';
  const std::wstring folder = WideFromUtf8(request.InitialFolder);
  // Room for any path the dialog may answer; whether the settings can hold it is the form's
  // to decide.
  std::wstring file(kFileBufferCharacters, L'\0');
  std::wstring fileTitle(255, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_;
  dialog.hInstance = GetModuleHandleW(nullptr);
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrFileTitle = fileTitle.data();
  dialog.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = 0;
  if (GetOpenFileNameW(&dialog) <= 0) return std::nullopt;
  file.resize(file.find(L'\0') == std::wstring::npos ? file.size() : file.find(L'\0'));
  return Utf8FromWide(file);
}

bool SettingsDialogWin32::OpenAddress(const std::string& address) {
  const std::wstring target = WideFromUtf8(address);
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(window_, L"open", target.c_str(), L"", L"", SW_SHOWNORMAL));
  return result > 32;
}

void SettingsDialogWin32::SetBusyPointer(bool busy) {
  busy_ = busy;
  POINT at{};
  GetCursorPos(&at);
  // The new pointer shows at once, not only at the next movement.
  if (WindowFromPoint(at) == window_ || IsChild(window_, WindowFromPoint(at))) {
    SetCursor(busy ? LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT))
                   : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
  }
}

void SettingsDialogWin32::Close() {
  closed_ = true;
  ShowWindow(window_, SW_HIDE);
}

// The form and its panel alike: a press or a left release, at a point of the form.
void SettingsDialogWin32::ForwardPress(UINT message, int x, int y) {
  if (message == WM_LBUTTONUP) {
    form_.MouseUp(kLeftButton, x, y);
    return;
  }
  form_.MouseDown(message == WM_LBUTTONDOWN   ? kLeftButton
                  : message == WM_RBUTTONDOWN ? kRightButton
                                              : kMiddleButton,
                  x, y);
}

// While the web link opens, the hourglass shows over the form and its panel alike.
bool SettingsDialogWin32::ShowBusyPointer() {
  if (!busy_) return false;
  SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
  return true;
}

LRESULT SettingsDialogWin32::FormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam));
  const int y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_PAINT: {
      BufferedPaint paint(window_);
      PaintForm(paint.Dc(), paint.Client());
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(window_, &client);
      PaintForm(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      form_.Resize(HIWORD(lParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
      ForwardPress(message, x, y);
      return 0;
    case WM_MOUSEMOVE:
      overLink_ = form_.OverLink(x, y);
      return 0;
    case WM_SETCURSOR:
      if (ShowBusyPointer()) return TRUE;
      if (reinterpret_cast<HWND>(wParam) == window_ && LOWORD(lParam) == HTCLIENT) {
        POINT at{};
        GetCursorPos(&at);
        ScreenToClient(window_, &at);
        if (form_.OverLink(at.x, at.y) && linkPointer_ != nullptr) {
          SetCursor(linkPointer_);
          return TRUE;
        }
      }
      return DefWindowProcW(window_, message, wParam, lParam);
    case WM_COMMAND:
      // IDOK and IDCANCEL from Enter and Escape: the dialog has no such buttons.
      return 0;
    case WM_CLOSE:
      form_.Cancel();
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

LRESULT SettingsDialogWin32::PanelMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The panel's presses count where they lie on the form.
  POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  MapWindowPoints(panel_, window_, &at, 1);
  switch (message) {
    case WM_PAINT: {
      BufferedPaint paint(panel_);
      PaintPanel(paint.Dc(), paint.Client());
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(panel_, &client);
      PaintPanel(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
      ForwardPress(message, at.x, at.y);
      return 0;
    case WM_SETCURSOR:
      if (ShowBusyPointer()) return TRUE;
      return DefWindowProcW(panel_, message, wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      // The repeat box is white.
      SetBkColor(reinterpret_cast<HDC>(wParam), kWhite);
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_COMMAND:
      return 0;
    default:
      return DefWindowProcW(panel_, message, wParam, lParam);
  }
}

void SettingsDialogWin32::PaintForm(HDC dc, const RECT& client) {
  HBRUSH back = CreateSolidBrush(kFormBackColour);
  FillRect(dc, &client, back);
  DeleteObject(back);
  // The banded gradient: one line of its colour for each row.
  for (size_t y = 0; y < rows_.size() && static_cast<LONG>(y) < client.bottom; ++y) {
    const RowColour& row = rows_[y];
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(row.Red, row.Green, row.Blue));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, 0, static_cast<int>(y), nullptr);
    LineTo(dc, client.right, static_cast<int>(y));
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  HGDIOBJ old = SelectObject(dc, labelFont_);
  DrawLabel(dc, ToPixels(DialogControlNamed("lbl", 7), scale_), WideFromUtf8(CreditLine), kWhite,
            kOneLine);
  SelectObject(dc, linkFont_);
  DrawLabel(dc, ToPixels(DialogControlNamed("lbl_URL"), scale_), WideFromUtf8(HomePageAddress),
            kWhite, kOneLine);
  SelectObject(dc, old);
}

void SettingsDialogWin32::PaintPanel(HDC dc, const RECT& client) {
  HBRUSH back = CreateSolidBrush(kPanelBackColour);
  FillRect(dc, &client, back);
  DeleteObject(back);
  const DialogPoint tileSize = PictureSizeOnScreen(BackgroundTile(), scale_);
  for (const DialogPoint& at : tiles_) Blit(dc, tile_, at.X, at.Y, tileSize);

  // The heading's frame: a one-pixel outline just inside its rectangle.
  const RECT frame = RectOf(ToPixels(DialogControlNamed("Shape3", 3), scale_));
  HBRUSH black = CreateSolidBrush(kBlack);
  FrameRect(dc, &frame, black);
  DeleteObject(black);

  for (int index = 0; index < 3; ++index) {
    const DialogRect mark = ToPixels(DialogControlNamed("Img_BGM", index), scale_);
    Blit(dc, markBitmaps_[static_cast<int>(marks_[index])], mark.X, mark.Y,
         PictureSizeOnScreen(MarkPicture(index), scale_));
  }

  HGDIOBJ old = SelectObject(dc, labelFont_);
  DrawLabel(dc, ToPixels(DialogControlNamed("lbl", 15), scale_), L"BGM", kBlack,
            DT_CENTER | DT_TOP | DT_SINGLELINE);
  DrawLabel(dc, ToPixels(DialogControlNamed("lbl_BGM", 1), scale_), WideFromUtf8("音楽CD"), kBlack,
            kOneLine);
  DrawLabel(dc, ToPixels(DialogControlNamed("lbl", 14), scale_), WideFromUtf8("曲目をﾘﾋﾟｰﾄ"),
            kBlack, kOneLine);
  DrawLabel(dc, ToPixels(DialogControlNamed("lbl_BGM", 0), scale_), WideFromUtf8("なし"), kBlack,
            kOneLine);
  DrawLabel(dc, ToPixels(DialogControlNamed("lbl_BGM", 2), scale_), WideFromUtf8("MP3、WAV"),
            kBlack, kOneLine);

  const DialogRect file = ToPixels(DialogControlNamed("lbl_Fname"), scale_);
  if (!shownCaption_) {
    // As much of the path as the label's lines hold, elided in the middle. A line counts
    // when most of it shows.
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int lineHeight = std::max<int>(1, metrics.tmHeight);
    const int lines = std::max(1, (file.Height + lineHeight / 4) / lineHeight);
    const std::string fitted =
        ElideMiddle(Utf8FromWide(fileCaption_), [&](std::string_view candidate) {
          const std::wstring text = WideFromUtf8(candidate);
          RECT measure{0, 0, file.Width, 0};
          DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure,
                    kWrapped | DT_CALCRECT | DT_NOPREFIX);
          return measure.bottom <= lines * lineHeight;
        });
    shownCaption_ = WideFromUtf8(fitted);
  }
  DrawLabel(dc, file, *shownCaption_, kBlack, kWrapped);
  SelectObject(dc, old);
}

void ShowSettingsDialog(Platform& platform) {
  SettingsDialogWin32 dialog(platform);
  dialog.Show();
  dialog.RunModal();
}

}  // namespace orvane
