#include "host/controls/command_window_win32.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "host/controls/wide_text_win32.h"

namespace orvane {
namespace {

constexpr wchar_t kClassName[] = L"OrvaneCommand";
constexpr UINT_PTR kHoverTimer = 1;

// A 32-bit top-down DIB selected into a memory DC of its own.
class MemoryBitmap {
 public:
  MemoryBitmap() = default;
  ~MemoryBitmap() { Release(); }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  bool Make(int width, int height) {
    Release();
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ =
        CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    if (dc_ == nullptr || bitmap_ == nullptr) {
      Release();
      return false;
    }
    old_ = SelectObject(dc_, bitmap_);
    width_ = width;
    height_ = height;
    return true;
  }

  HDC Dc() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // 0x00RRGGBB, as a 32-bit DIB keeps its pixels.
  std::uint32_t* Bits() const { return bits_; }
  std::uint32_t Pixel(int x, int y) const {
    if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    GdiFlush();
    return bits_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF;
  }

 private:
  void Release() {
    if (dc_ != nullptr && old_ != nullptr) SelectObject(dc_, old_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    if (dc_ != nullptr) DeleteDC(dc_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    old_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
  }

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

COLORREF ColourRef(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

std::int16_t ShiftOf(WPARAM keys) {
  return static_cast<std::int16_t>(((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
                                   ((GetKeyState(VK_MENU) < 0) ? 4 : 0));
}

std::int16_t ButtonsHeld(WPARAM keys) {
  return static_cast<std::int16_t>(((keys & MK_LBUTTON) ? kLeftButton : 0) |
                                   ((keys & MK_RBUTTON) ? kRightButton : 0) |
                                   ((keys & MK_MBUTTON) ? kMiddleButton : 0));
}

}  // namespace

TwipsScale ScreenScale() {
  HDC screen = GetDC(nullptr);
  int x = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  int y = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  if (x <= 0) x = 96;
  if (y <= 0) y = 96;
  return {1440.0 / x, 1440.0 / y};
}

HFONT MakeFont(const FontInfo& font, const TwipsScale& scale) {
  LOGFONTW log{};
  // Points at the screen's own density, as twips count it (9.75 points: 13 pixels at 96 dpi).
  log.lfHeight = -static_cast<LONG>(std::lround(font.Size * 20.0 / scale.Y));
  log.lfWeight = font.Weight;
  log.lfItalic = font.Italic ? TRUE : FALSE;
  log.lfUnderline = font.Underline ? TRUE : FALSE;
  log.lfStrikeOut = font.Strikethrough ? TRUE : FALSE;
  log.lfCharSet = static_cast<BYTE>(font.Charset);
  log.lfQuality = DEFAULT_QUALITY;
  const std::wstring name = WideFromUtf8(font.Name);
  name.copy(log.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&log);
}

// The window's state: the platform and container the control talks to, the control itself,
// the GDI copy of its face and the pictures it cuts its frame from.
class CommandWindow::Shell final : public CommandPlatform,
                                   public CommandContainer,
                                   public FaceCanvas {
 public:
  explicit Shell(CommandWindowOptions options)
      : options_(std::move(options)), scale_(ScreenScale()), control_(*this, *this) {}
  ~Shell() override {
    if (window_ != nullptr) {
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      DestroyWindow(window_);
    }
    if (font_ != nullptr) DeleteObject(font_);
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
  TwipsScale Scale() override { return scale_; }
  FaceCanvas* Canvas() override { return this; }

  // CommandContainer
  FontInfo AmbientFont() const override { return options_.AmbientFont; }
  void PropertyChanged(std::string_view name) override {
    if (options_.PropertyChanged) options_.PropertyChanged(name);
  }
  std::optional<WindowId> ContainerWindow() const override {
    if (window_ == nullptr) return std::nullopt;
    HWND parent = GetParent(window_);
    if (parent == nullptr) return std::nullopt;
    return IdOf(parent);
  }

  // FaceCanvas: the same steps with the real GDI functions.
  void Resize(int width, int height) override { face_.Make(width, height); }
  void Clear(std::uint32_t rgb) override {
    if (face_.Dc() == nullptr) return;
    HBRUSH brush = CreateSolidBrush(ColourRef(rgb));
    const RECT all{0, 0, face_.Width(), face_.Height()};
    FillRect(face_.Dc(), &all, brush);
    DeleteObject(brush);
  }
  void GradientFill(std::span<const TriVertex> vertices,
                    std::span<const GradientRectangle> rectangles, GradientMode mode) override {
    if (face_.Dc() == nullptr) return;
    std::vector<TRIVERTEX> points;
    for (const TriVertex& v : vertices) {
      points.push_back(TRIVERTEX{v.X, v.Y, v.Red, v.Green, v.Blue, v.Alpha});
    }
    std::vector<GRADIENT_RECT> rects;
    for (const GradientRectangle& r : rectangles) {
      rects.push_back(GRADIENT_RECT{r.UpperLeft, r.LowerRight});
    }
    ::GradientFill(face_.Dc(), points.data(), static_cast<ULONG>(points.size()), rects.data(),
                   static_cast<ULONG>(rects.size()),
                   mode == GradientMode::Vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
  }
  void StretchCopy(const Picture& source, PixelRect from, PixelRect to) override {
    if (face_.Dc() == nullptr) return;
    const MemoryBitmap* picture = PictureBitmap(source);
    if (picture == nullptr) return;
    // Pixels are dropped or repeated, never blended, when a piece is squeezed or stretched.
    SetStretchBltMode(face_.Dc(), COLORONCOLOR);
    StretchBlt(face_.Dc(), to.X, to.Y, to.Width, to.Height, picture->Dc(), from.X, from.Y,
               from.Width, from.Height, SRCCOPY);
  }

  Command& Control() { return control_; }
  CommandWindowOptions& Options() { return options_; }
  const MemoryBitmap& Face() const { return face_; }
  HWND& Window() { return window_; }

  bool PointerOverControl() {
    const std::optional<WindowId> under = WindowUnderPointer();
    return under && window_ != nullptr && *under == IdOf(window_);
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const float x = static_cast<float>(scale_.X * static_cast<short>(LOWORD(lParam)));
    const float y = static_cast<float>(scale_.Y * static_cast<short>(HIWORD(lParam)));
    switch (message) {
      case WM_PAINT:
        Paint();
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_SIZE:
        control_.Resize(scale_.FromPixelsX(LOWORD(lParam)), scale_.FromPixelsY(HIWORD(lParam)));
        return 0;
      case WM_TIMER:
        if (wParam == kHoverTimer) control_.OnHoverTick();
        return 0;
      case WM_MOUSEMOVE:
        control_.OnMouseMove(ButtonsHeld(wParam), ShiftOf(wParam), x, y);
        return 0;
      case WM_LBUTTONDOWN:
        SetCapture(window_);
        if (GetFocus() != window_) SetFocus(window_);
        control_.OnMouseDown(kLeftButton, ShiftOf(wParam), x, y);
        return 0;
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
        SetCapture(window_);
        control_.OnMouseDown(message == WM_RBUTTONDOWN ? kRightButton : kMiddleButton,
                             ShiftOf(wParam), x, y);
        return 0;
      // The second press of a double click is not handled: it paints nothing. Its release
      // arrives as usual.
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDBLCLK:
        SetCapture(window_);
        return 0;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        Release(message == WM_LBUTTONUP   ? kLeftButton
                : message == WM_RBUTTONUP ? kRightButton
                                          : kMiddleButton,
                wParam, x, y);
        return 0;
      case WM_SETFOCUS:
        // Focus coming back with the window's activation is no new focus.
        if (!focused_) {
          focused_ = true;
          control_.OnGotFocus();
        }
        return 0;
      case WM_KILLFOCUS: {
        // The window merely losing the desktop's focus (to another program, or to a dialog
        // opened over it) keeps the control's focus, as in its own window it still has it.
        const HWND next = reinterpret_cast<HWND>(wParam);
        if (next == nullptr || GetAncestor(next, GA_ROOT) != GetAncestor(window_, GA_ROOT)) {
          return 0;
        }
        if (focused_) {
          focused_ = false;
          control_.OnLostFocus();
        }
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

  void Release(std::int16_t button, WPARAM keys, float x, float y) {
    if ((keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == window_) {
      ReleaseCapture();
    }
    // A release away from the control is seen as the next hover tick would see it, so that a
    // press dragged off never clicks, however quickly it is released.
    if (!PointerOverControl()) {
      control_.OnHoverTick();
      if (button != kLeftButton) return;
    }
    control_.OnMouseUp(button, ShiftOf(keys), x, y);
  }

  const MemoryBitmap* PictureBitmap(const Picture& picture) {
    auto found = pictures_.find(&picture);
    if (found != pictures_.end()) return found->second.get();
    if (!picture.Valid()) return nullptr;
    auto bitmap = std::make_unique<MemoryBitmap>();
    if (!bitmap->Make(picture.Width, picture.Height)) return nullptr;
    for (int y = 0; y < picture.Height; ++y) {
      for (int x = 0; x < picture.Width; ++x) {
        bitmap->Bits()[static_cast<size_t>(y) * picture.Width + x] = picture.At(x, y);
      }
    }
    return pictures_.emplace(&picture, std::move(bitmap)).first->second.get();
  }

  void Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client{};
    GetClientRect(window_, &client);
    // The face and the caption are put together off screen, then shown at once.
    MemoryBitmap frame;
    if (frame.Make(std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom))) {
      if (control_.FaceShown() && face_.Dc() != nullptr) {
        BitBlt(frame.Dc(), 0, 0, face_.Width(), face_.Height(), face_.Dc(), 0, 0, SRCCOPY);
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
      DrawCaption(frame.Dc());
      BitBlt(dc, 0, 0, client.right, client.bottom, frame.Dc(), 0, 0, SRCCOPY);
    }
    EndPaint(window_, &paint);
  }

  void DrawCaption(HDC dc) {
    const CaptionLabel& label = control_.Label();
    if (label.Text.empty()) return;
    if (font_ == nullptr || !(fontMade_ == label.Font)) {
      if (font_ != nullptr) DeleteObject(font_);
      font_ = MakeFont(label.Font, scale_);
      fontMade_ = label.Font;
    }
    RECT rect{scale_.ToPixelsX(label.Left), scale_.ToPixelsY(label.Top),
              scale_.ToPixelsX(label.Left + label.Width),
              scale_.ToPixelsY(label.Top + label.Height)};
    const std::wstring text = WideFromUtf8(label.Text);
    HGDIOBJ old = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
    if (label.Enabled) {
      // System colour numbers (high bit set) draw as the button text colour, black.
      const std::uint32_t colour = label.ForeColour & 0x80000000u ? 0 : label.ForeColour;
      SetTextColor(dc, static_cast<COLORREF>(colour & 0xFFFFFF));
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    } else {
      // Greyed text: a white copy one pixel down and right under the grey one.
      RECT shadow = rect;
      OffsetRect(&shadow, 1, 1);
      SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
      SetTextColor(dc, RGB(0xAC, 0xA8, 0x99));
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    }
    SelectObject(dc, old);
  }

  CommandWindowOptions options_;
  TwipsScale scale_;
  Command control_;
  HWND window_ = nullptr;
  MemoryBitmap face_;
  std::map<const Picture*, std::unique_ptr<MemoryBitmap>> pictures_;
  HFONT font_ = nullptr;
  FontInfo fontMade_;
  bool focused_ = false;
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

CommandWindow::CommandWindow(HWND parent, double leftTwips, double topTwips, double widthTwips,
                             double heightTwips, CommandWindowOptions options)
    : shell_(std::make_unique<Shell>(std::move(options))) {
  RegisterCommandClass();
  const TwipsScale scale = shell_->Scale();
  CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                  scale.ToPixelsX(leftTwips), scale.ToPixelsY(topTwips),
                  std::max(1, scale.ToPixelsX(widthTwips)),
                  std::max(1, scale.ToPixelsY(heightTwips)), parent, nullptr,
                  GetModuleHandleW(nullptr), shell_.get());
}

CommandWindow::~CommandWindow() = default;

HWND CommandWindow::Window() const {
  return shell_->Window();
}

Command& CommandWindow::Control() {
  return shell_->Control();
}

const CommandWindowOptions& CommandWindow::Options() const {
  return shell_->Options();
}

std::uint32_t CommandWindow::DrawnPixel(int x, int y) const {
  return shell_->Face().Pixel(x, y);
}

Command* CommandOfWindow(HWND window) {
  wchar_t name[32] = {};
  if (window == nullptr || GetClassNameW(window, name, 32) == 0 ||
      std::wstring_view(name) != kClassName) {
    return nullptr;
  }
  auto* shell = reinterpret_cast<CommandWindow::Shell*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return shell != nullptr ? &shell->Control() : nullptr;
}

}  // namespace orvane
