#pragma once

// Pictures as GDI bitmaps: the one place a Picture's pixels become a DIB section, for the
// button's face and for any window that shows a built-in picture; and colours as GDI takes them.

#include <cstdint>

#include "host/controls/picture.h"
#include "platform/win32/windows_api.h"

namespace orvane {

// 0xRRGGBB as GDI's colour (0x00BBGGRR).
inline COLORREF ColourOf(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// A 32-bit top-down DIB section; its pixels (0x00RRGGBB, as such a DIB keeps them) at *bits.
// The caller deletes it.
HBITMAP MakeDib(int width, int height, std::uint32_t** bits);

// A picture as a 32-bit top-down DIB section of its own; nullptr for a picture that is not
// valid. The caller deletes it.
HBITMAP BitmapOf(const Picture& picture);

// A 32-bit top-down DIB selected into a memory DC of its own.
class MemoryBitmap {
 public:
  MemoryBitmap() = default;
  ~MemoryBitmap() { Release(); }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  // A blank bitmap; false (and none) for an empty size or when GDI refuses.
  bool Make(int width, int height);
  // The picture's pixels; false for a picture that is not valid.
  bool Make(const Picture& picture);

  HDC Dc() const { return dc_; }
  // A pixel as 0xRRGGBB; 0 outside the bitmap.
  std::uint32_t Pixel(int x, int y) const;

 private:
  void Release();

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace orvane
