#pragma once

// The Command button's face drawn with GDI: the steps the core draws into its Surface,
// repeated with GradientFill and StretchBlt into a memory bitmap that the window shows.

#include <cstdint>
#include <map>
#include <memory>
#include <span>

#include "host/controls/face_canvas.h"
#include "host/controls/picture.h"
#include "platform/win32/windows_api.h"

namespace orvane {

// 0xRRGGBB as GDI's colour (0x00BBGGRR).
COLORREF ColourRef(std::uint32_t rgb);

// A 24-bit picture as a 32-bit DIB section of its own, its alpha bytes 0xFF when withAlpha and
// 0 otherwise; nullptr for a picture that is not valid. The caller deletes it.
HBITMAP BitmapOf(const Picture& picture, bool withAlpha = false);

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
  int Width() const { return width_; }
  int Height() const { return height_; }
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

// The face as GDI draws it. Each state picture becomes a bitmap once, the first time a piece
// of it is drawn.
class GdiFace final : public FaceCanvas {
 public:
  void Resize(int width, int height) override { face_.Make(width, height); }
  void Clear(std::uint32_t rgb) override;
  void GradientFill(std::span<const TriVertex> vertices,
                    std::span<const GradientRectangle> rectangles, GradientMode mode) override;
  void StretchCopy(const Picture& source, PixelRect from, PixelRect to) override;

  const MemoryBitmap& Bitmap() const { return face_; }

 private:
  const MemoryBitmap* PictureBitmap(const Picture& picture);

  MemoryBitmap face_;
  std::map<const Picture*, std::unique_ptr<MemoryBitmap>> pictures_;
};

}  // namespace orvane
