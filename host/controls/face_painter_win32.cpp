#include "host/controls/face_painter_win32.h"

#include <array>
#include <memory>

#include "host/controls/picture_bitmap_win32.h"

namespace orvane {
namespace {

// The state pictures as bitmaps, each made the first time a piece of it is drawn and kept for
// the program's life.
const MemoryBitmap& PictureBitmap(Look look) {
  static std::array<std::unique_ptr<MemoryBitmap>, kLookCount> bitmaps;
  std::unique_ptr<MemoryBitmap>& bitmap = bitmaps[static_cast<int>(look)];
  if (bitmap == nullptr) {
    bitmap = std::make_unique<MemoryBitmap>();
    bitmap->Make(StatePicture(look));
  }
  return *bitmap;
}

}  // namespace

void DrawFace(HDC dc, const CommandFace& face) {
  if (!face.Shown) return;
  HBRUSH brush = CreateSolidBrush(ColourOf(face.Background));
  const RECT all{0, 0, face.Width, face.Height};
  FillRect(dc, &all, brush);
  DeleteObject(brush);

  std::array<TRIVERTEX, 4> vertices{};
  for (size_t i = 0; i < vertices.size(); ++i) {
    const TriVertex& v = face.Vertices[i];
    vertices[i] = TRIVERTEX{v.X, v.Y, v.Red, v.Green, v.Blue, v.Alpha};
  }
  GRADIENT_RECT rect{face.GradientRect.UpperLeft, face.GradientRect.LowerRight};
  GradientFill(dc, vertices.data(), static_cast<ULONG>(vertices.size()), &rect, 1,
               GRADIENT_FILL_RECT_V);

  const MemoryBitmap& picture = PictureBitmap(face.Picture);
  if (picture.Dc() == nullptr) return;
  // Pixels are dropped or repeated, never blended, when a piece is squeezed or stretched.
  SetStretchBltMode(dc, COLORONCOLOR);
  for (int i = 0; i < face.PieceCount; ++i) {
    const FramePiece& p = face.Pieces[i];
    StretchBlt(dc, p.To.X, p.To.Y, p.To.Width, p.To.Height, picture.Dc(), p.From.X, p.From.Y,
               p.From.Width, p.From.Height, SRCCOPY);
  }
}

}  // namespace orvane
