#include "host/controls/face_painter_gtk.h"

#include <algorithm>
#include <array>

#include "host/controls/caption_painter_gtk.h"

namespace orvane {
namespace {

double Byte(std::uint16_t channel) {
  return (channel >> 8) / 255.0;
}

// The state pictures as cairo images, made once and kept for the program's life.
cairo_surface_t* PictureSurface(Look look) {
  static std::array<cairo_surface_t*, kLookCount> surfaces{};
  cairo_surface_t*& surface = surfaces[static_cast<int>(look)];
  if (surface == nullptr) surface = ImageOf(StatePicture(look));
  return surface;
}

void DrawGradient(cairo_t* cr, const CommandFace& face) {
  const TriVertex& a = face.Vertices[face.GradientRect.UpperLeft % face.Vertices.size()];
  const TriVertex& b = face.Vertices[face.GradientRect.LowerRight % face.Vertices.size()];
  const TriVertex& top = a.Y <= b.Y ? a : b;
  const TriVertex& bottom = a.Y <= b.Y ? b : a;
  const int x0 = std::min(a.X, b.X), x1 = std::max(a.X, b.X);
  if (x0 == x1 || top.Y == bottom.Y) return;
  // Row y takes the colour (y - top) / (bottom - top) of the way down, as GDI fills it: the
  // pattern runs between the two rows' centres.
  cairo_pattern_t* pattern = cairo_pattern_create_linear(0, top.Y + 0.5, 0, bottom.Y + 0.5);
  cairo_pattern_add_color_stop_rgb(pattern, 0, Byte(top.Red), Byte(top.Green), Byte(top.Blue));
  cairo_pattern_add_color_stop_rgb(pattern, 1, Byte(bottom.Red), Byte(bottom.Green),
                                   Byte(bottom.Blue));
  cairo_set_source(cr, pattern);
  cairo_rectangle(cr, x0, top.Y, x1 - x0, bottom.Y - top.Y);
  cairo_fill(cr);
  cairo_pattern_destroy(pattern);
}

}  // namespace

cairo_surface_t* ImageOf(const Picture& picture) {
  cairo_surface_t* image =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.Width, picture.Height);
  cairo_surface_flush(image);
  unsigned char* data = cairo_image_surface_get_data(image);
  if (!picture.Valid() || data == nullptr) return image;
  const int stride = cairo_image_surface_get_stride(image);
  for (int y = 0; y < picture.Height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < picture.Width; ++x) row[x] = picture.At(x, y);
  }
  cairo_surface_mark_dirty(image);
  return image;
}

void DrawFace(cairo_t* cr, const CommandFace& face) {
  if (!face.Shown) return;
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, face.Width, face.Height);
  cairo_clip(cr);
  SetSourceColour(cr, face.Background);
  cairo_paint(cr);
  DrawGradient(cr, face);
  cairo_surface_t* picture = PictureSurface(face.Picture);
  for (int i = 0; i < face.PieceCount; ++i) {
    const FramePiece& piece = face.Pieces[i];
    cairo_save(cr);
    cairo_rectangle(cr, piece.To.X, piece.To.Y, piece.To.Width, piece.To.Height);
    cairo_clip(cr);
    cairo_translate(cr, piece.To.X, piece.To.Y);
    cairo_scale(cr, static_cast<double>(piece.To.Width) / piece.From.Width,
                static_cast<double>(piece.To.Height) / piece.From.Height);
    cairo_set_source_surface(cr, picture, -piece.From.X, -piece.From.Y);
    // Pixels are dropped or repeated, never blended, when a piece is squeezed or stretched.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
  }
  cairo_restore(cr);
}

}  // namespace orvane
