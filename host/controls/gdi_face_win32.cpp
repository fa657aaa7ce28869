#include "host/controls/gdi_face_win32.h"

#include <vector>

namespace orvane {

void GdiFace::Clear(std::uint32_t rgb) {
  if (face_.Dc() == nullptr) return;
  HBRUSH brush = CreateSolidBrush(ColourOf(rgb));
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

void GdiFace::StretchCopy(const Picture& source, Rect from, Rect to) {
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
