#pragma once

// Built-in pictures, colours and fonts as GDI takes them, for the button and the dialog.

#include <cstdint>

#include "host/controls/font_info.h"
#include "host/controls/picture.h"
#include "host/controls/twips.h"
#include "platform/win32/windows_api.h"

namespace orvane {

// 0xRRGGBB as GDI's colour (0x00BBGGRR).
inline COLORREF ColourOf(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// A 32-bit top-down DIB section with pixels 0x00RRGGBB at *bits; the caller deletes it.
HBITMAP MakeDib(int width, int height, std::uint32_t** bits = nullptr);

// A picture as a DIB section of its own, nullptr when it is not valid; the caller deletes it.
HBITMAP BitmapOf(const Picture& picture);

// A font of the control's design as a GDI font at the screen's density; the caller deletes it.
HFONT MakeFont(const FontInfo& font, const TwipsScale& scale);

// A bitmap (MakeDib's or BitmapOf's) selected into a memory DC of its own, which deletes both;
// Dc() is nullptr when there is no bitmap or GDI refuses.
class MemoryBitmap {
 public:
  explicit MemoryBitmap(HBITMAP bitmap);
  ~MemoryBitmap();
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  HDC Dc() const { return dc_; }

 private:
  HBITMAP bitmap_;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

}  // namespace orvane
