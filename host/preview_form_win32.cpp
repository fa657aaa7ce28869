// The preview form as a black borderless window; the built-in JPEG is decoded once, by the
// system's own OleLoadPicture, when the form loads.
#include <ole2.h>
#include <olectl.h>

#include <cstring>

#include "host/Orvane_R.h"
#include "host/preview_picture.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"

namespace orvane {
namespace {

constexpr char kClass[] = "OrvanePreview";

// HIMETRIC units (0.01 mm) to pixels at 96 dots per inch, as IPicture sizes its pictures.
int PixelsFromHimetric(LONG himetric) {
  return MulDiv(himetric, 96, 2540);
}

// The JPEG drawn into a bitmap of its own size; nullptr when it cannot be decoded.
HBITMAP DecodePicture(std::span<const std::uint8_t> jpeg, int& width, int& height) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, jpeg.size());
  if (memory == nullptr) return nullptr;
  if (void* bytes = GlobalLock(memory)) {
    std::memcpy(bytes, jpeg.data(), jpeg.size());
    GlobalUnlock(memory);
  }
  IStream* stream = nullptr;
  // The stream owns the memory from here on.
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  IPicture* picture = nullptr;
  const HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(jpeg.size()), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(loaded) || picture == nullptr) return nullptr;
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  picture->get_Width(&himetricWidth);
  picture->get_Height(&himetricHeight);
  width = PixelsFromHimetric(himetricWidth);
  height = PixelsFromHimetric(himetricHeight);
  HBITMAP bitmap = nullptr;
  if (width > 0 && height > 0) {
    HDC screen = GetDC(nullptr);
    HDC canvas = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, width, height);
    if (canvas != nullptr && bitmap != nullptr) {
      HGDIOBJ old = SelectObject(canvas, bitmap);
      // IPicture draws bottom-up in HIMETRIC: from the source's top, a negative height.
      picture->Render(canvas, 0, 0, width, height, 0, himetricHeight, himetricWidth,
                      -himetricHeight, nullptr);
      SelectObject(canvas, old);
    }
    if (canvas != nullptr) DeleteDC(canvas);
    ReleaseDC(nullptr, screen);
  }
  picture->Release();
  if (bitmap == nullptr) width = height = 0;
  return bitmap;
}

class Win32PreviewForm final : public PreviewForm {
 public:
  explicit Win32PreviewForm(std::function<void()> onUnload) : onUnload_(std::move(onUnload)) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClass;
    RegisterClassA(&windowClass);
    if (SUCCEEDED(OleInitialize(nullptr))) {
      bitmap_ = DecodePicture(PreviewPictureJpeg(), pictureWidth_, pictureHeight_);
    }
    // Borderless and without a title bar, so the client area is the whole window.
    window_ = CreateWindowExA(0, kClass, kPreviewTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              windowClass.hInstance, this);
  }
  ~Win32PreviewForm() override {
    if (window_ != nullptr) {
      SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
      DestroyWindow(window_);
    }
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
  }
  Win32PreviewForm(const Win32PreviewForm&) = delete;
  Win32PreviewForm& operator=(const Win32PreviewForm&) = delete;

  WindowHandle Window() const override { return FromHwnd(window_); }
  int PictureWidth() const override { return pictureWidth_; }
  int PictureHeight() const override { return pictureHeight_; }

  void Arrange(const PreviewLayout& layout) override {
    layout_ = layout;
    if (layout_.FormShown()) {
      SetWindowPos(window_, nullptr, 0, 0, layout.FormWidth, layout.FormHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }

  void Show() override {
    if (layout_.FormShown()) ShowWindow(window_, SW_SHOWNOACTIVATE);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32PreviewForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
      case WM_PAINT:
        self->Paint();
        return 0;
      case WM_DESTROY:
        // Gone with its parent, or closed: the form is unloaded. The owner is asked for, and
        // not used, as the form's unload always did.
        GetWindow(window, GW_OWNER);
        self->window_ = nullptr;
        if (self->onUnload_) self->onUnload_();
        return 0;
      default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
  }

  void Paint() {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window_, &paint);
    if (bitmap_ != nullptr && layout_.PictureShown()) {
      HDC source = CreateCompatibleDC(target);
      HGDIOBJ old = SelectObject(source, bitmap_);
      BitBlt(target, 0, 0, layout_.ShownWidth, layout_.ShownHeight, source, 0, 0, SRCCOPY);
      SelectObject(source, old);
      DeleteDC(source);
    }
    EndPaint(window_, &paint);
  }

  std::function<void()> onUnload_;
  HWND window_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  int pictureWidth_ = 0;
  int pictureHeight_ = 0;
  PreviewLayout layout_;
};

std::unique_ptr<PreviewForm> LoadWin32PreviewForm(std::function<void()> onUnload) {
  return std::make_unique<Win32PreviewForm>(std::move(onUnload));
}

}  // namespace

void StartPreview(WindowHandle hostWindow, Platform& platform) {
  StartPreviewWith(hostWindow, platform, LoadWin32PreviewForm);
}

}  // namespace orvane
