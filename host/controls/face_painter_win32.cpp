#include "host/controls/face_painter_win32.h"

#include <array>
#include <memory>

#include "host/controls/picture_bitmap_win32.h"
#include "platform/win32/wide_text.h"

namespace orvane {
namespace {

void DrawShownFace(HDC dc, const CommandFace& face) {
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

  // The state pictures as bitmaps, each made the first time it is drawn and kept for good.
  static std::array<std::unique_ptr<MemoryBitmap>, kLookCount> pictures;
  std::unique_ptr<MemoryBitmap>& picture = pictures[static_cast<int>(face.Picture)];
  if (picture == nullptr)
    picture = std::make_unique<MemoryBitmap>(BitmapOf(StatePicture(face.Picture)));
  if (picture->Dc() == nullptr) return;
  // Pixels are dropped or repeated, never blended, when a piece is squeezed or stretched.
  SetStretchBltMode(dc, COLORONCOLOR);
  for (int i = 0; i < face.PieceCount; ++i) {
    const FramePiece& p = face.Pieces[i];
    StretchBlt(dc, p.To.X, p.To.Y, p.To.Width, p.To.Height, picture->Dc(), p.From.X, p.From.Y,
               p.From.Width, p.From.Height, SRCCOPY);
  }
}

void DrawCaption(HDC dc, const CaptionPaint& caption, const TwipsScale& scale) {
  HFONT font = MakeFont(caption.Font, scale);
  RECT rect{caption.Box.X, caption.Box.Y, caption.Box.Right(), caption.Box.Bottom()};
  const std::wstring text = Utf16(caption.Text);
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  const UINT format = DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
  if (caption.Greyed) {
    RECT shadow = rect;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, ColourOf(kCaptionShadow));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
  }
  SetTextColor(dc, ColourOf(caption.Greyed ? kCaptionGrey : caption.Colour));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  SelectObject(dc, old);
  DeleteObject(font);
}

}  // namespace

void DrawFace(HDC dc, const CommandFace& face, const TwipsScale& scale) {
  if (face.Shown) DrawShownFace(dc, face);
  if (face.Caption.Drawn) DrawCaption(dc, face.Caption, scale);
}

}  // namespace orvane
