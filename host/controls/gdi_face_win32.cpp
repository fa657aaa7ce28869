#include "host/controls/gdi_face_win32.h"

#include <vector>

namespace orvane {
namespace {

// A 32-bit top-down DIB section; its pixels (0x00RRGGBB, as such a DIB keeps them) at *bits.
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

void CopyPicture(const Picture& picture, std::uint32_t* bits, std::uint32_t alpha) {
  for (int y = 0; y < picture.Height; ++y) {
    for (int x = 0; x < picture.Width; ++x) {
      bits[static_cast<size_t>(y) * picture.Width + x] = picture.At(x, y) | alpha;
    }
  }
}

}  // namespace

COLORREF ColourRef(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

HBITMAP BitmapOf(const Picture& picture, bool withAlpha) {
  if (!picture.Valid()) return nullptr;
  std::uint32_t* bits = nullptr;
  HBITMAP bitmap = MakeDib(picture.Width, picture.Height, &bits);
  if (bitmap == nullptr) return nullptr;
  CopyPicture(picture, bits, withAlpha ? 0xFF000000u : 0);
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
  CopyPicture(picture, bits_, 0);
  return true;
}

std::uint32_t MemoryBitmap::Pixel(int x, int y) const {
  if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  return bits_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF;
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

void GdiFace::Clear(std::uint32_t rgb) {
  if (face_.Dc() == nullptr) return;
  HBRUSH brush = CreateSolidBrush(ColourRef(rgb));
  const RECT all{0, 0, face_.Width(), face_.Height()};
  FillRect(face_.Dc(), &all, brush);
  DeleteObject(brush);
}

void GdiFace::GradientFill(std::span<const TriVertex> vertices,
                           std::span<const GradientRectangle> rectangles, GradientMode mode) {
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

void GdiFace::StretchCopy(const Picture& source, PixelRect from, PixelRect to) {
  if (face_.Dc() == nullptr) return;
  const MemoryBitmap* picture = PictureBitmap(source);
  if (picture == nullptr) return;
  // Pixels are dropped or repeated, never blended, when a piece is squeezed or stretched.
  SetStretchBltMode(face_.Dc(), COLORONCOLOR);
  StretchBlt(face_.Dc(), to.X, to.Y, to.Width, to.Height, picture->Dc(), from.X, from.Y, from.Width,
             from.Height, SRCCOPY);
}

const MemoryBitmap* GdiFace::PictureBitmap(const Picture& picture) {
  auto found = pictures_.find(&picture);
  if (found != pictures_.end()) return found->second.get();
  auto bitmap = std::make_unique<MemoryBitmap>();
  if (!bitmap->Make(picture)) return nullptr;
  return pictures_.emplace(&picture, std::move(bitmap)).first->second.get();
}

}  // namespace orvane
