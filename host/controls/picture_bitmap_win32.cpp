#include "host/controls/picture_bitmap_win32.h"

#include <cstddef>

namespace orvane {
HBITMAP MakeDib(int width, int height, std::uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  *bits = static_cast<std::uint32_t*>(pixels);
  return bitmap;
}

namespace {

void CopyPicture(const Picture& picture, std::uint32_t* bits) {
  for (int y = 0; y < picture.Height; ++y) {
    for (int x = 0; x < picture.Width; ++x) {
      bits[static_cast<std::size_t>(y) * picture.Width + x] = picture.At(x, y);
    }
  }
}

}  // namespace

HBITMAP BitmapOf(const Picture& picture) {
  if (!picture.Valid()) return nullptr;
  std::uint32_t* bits = nullptr;
  HBITMAP bitmap = MakeDib(picture.Width, picture.Height, &bits);
  if (bitmap == nullptr) return nullptr;
  CopyPicture(picture, bits);
  return bitmap;
}

bool MemoryBitmap::Make(int width, int height) {
  Release();
  if (width <= 0 || height <= 0) return false;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = MakeDib(width, height, &bits_);
  if (dc_ == nullptr || bitmap_ == nullptr) {
    Release();
    return false;
  }
  old_ = SelectObject(dc_, bitmap_);
  width_ = width;
  height_ = height;
  return true;
}

bool MemoryBitmap::Make(const Picture& picture) {
  if (!picture.Valid() || !Make(picture.Width, picture.Height)) return false;
  CopyPicture(picture, bits_);
  return true;
}

std::uint32_t MemoryBitmap::Pixel(int x, int y) const {
  if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  return bits_[static_cast<std::size_t>(y) * width_ + x] & 0xFFFFFF;
}

void MemoryBitmap::Release() {
  if (dc_ != nullptr && old_ != nullptr) SelectObject(dc_, old_);
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  if (dc_ != nullptr) DeleteDC(dc_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  old_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

}  // namespace orvane
