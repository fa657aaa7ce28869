#include "host/controls/picture_bitmap_win32.h"

#include <cmath>
#include <cstddef>

#include "platform/win32/wide_text.h"

namespace orvane {

HBITMAP MakeDib(int width, int height, std::uint32_t** bits) {
  if (width <= 0 || height <= 0) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bits != nullptr) *bits = static_cast<std::uint32_t*>(pixels);
  return bitmap;
}

HBITMAP BitmapOf(const Picture& picture) {
  if (!picture.Valid()) return nullptr;
  std::uint32_t* bits = nullptr;
  HBITMAP bitmap = MakeDib(picture.Width, picture.Height, &bits);
  if (bitmap == nullptr) return nullptr;
  for (int y = 0; y < picture.Height; ++y) {
    for (int x = 0; x < picture.Width; ++x) {
      bits[static_cast<std::size_t>(y) * picture.Width + x] = picture.At(x, y);
    }
  }
  return bitmap;
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
  const std::wstring name = Utf16(font.Name);
  name.copy(log.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&log);
}

MemoryBitmap::MemoryBitmap(HBITMAP bitmap) : bitmap_(bitmap) {
  if (bitmap_ != nullptr) dc_ = CreateCompatibleDC(nullptr);
  if (dc_ != nullptr) old_ = SelectObject(dc_, bitmap_);
}

MemoryBitmap::~MemoryBitmap() {
  if (dc_ != nullptr && old_ != nullptr) SelectObject(dc_, old_);
  if (dc_ != nullptr) DeleteDC(dc_);
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

}  // namespace orvane
