#include "host/controls/face_painter_gtk.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <array>

namespace orvane {
namespace {

double Byte(std::uint16_t channel) {
  return (channel >> 8) / 255.0;
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

void DrawPieces(cairo_t* cr, const CommandFace& face) {
  // The state pictures as cairo images, made once and kept for the program's life.
  static std::array<cairo_surface_t*, kLookCount> pictures{};
  cairo_surface_t*& picture = pictures[static_cast<int>(face.Picture)];
  if (picture == nullptr) picture = ImageOf(StatePicture(face.Picture));
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
}

void DrawCaption(cairo_t* cr, const CaptionPaint& caption, const TwipsScale& scale) {
  PangoLayout* layout = FontLayout(cr, caption.Font, scale);
  pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
  pango_layout_set_text(layout, caption.Text.c_str(), -1);
  int textWidth = 0, textHeight = 0;
  pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
  const Rect& box = caption.Box;
  const double x = box.X + (box.Width - textWidth) / 2;
  cairo_save(cr);
  cairo_rectangle(cr, box.X, box.Y, box.Width, box.Height);
  cairo_clip(cr);
  if (caption.Greyed) {
    SetSourceColour(cr, kCaptionShadow);
    cairo_move_to(cr, x + 1, box.Y + 1);
    pango_cairo_show_layout(cr, layout);
  }
  SetSourceColour(cr, caption.Greyed ? kCaptionGrey : caption.Colour);
  cairo_move_to(cr, x, box.Y);
  pango_cairo_show_layout(cr, layout);
  cairo_restore(cr);
  g_object_unref(layout);
}

}  // namespace

void DrawFace(cairo_t* cr, const CommandFace& face, const TwipsScale& scale) {
  if (face.Shown) {
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, face.Width, face.Height);
    cairo_clip(cr);
    SetSourceColour(cr, face.Background);
    cairo_paint(cr);
    DrawGradient(cr, face);
    DrawPieces(cr, face);
    cairo_restore(cr);
  }
  if (face.Caption.Drawn) DrawCaption(cr, face.Caption, scale);
}

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

std::string FontFamilyFor(const std::string& name) {
  // The IPA fonts stand in for the Japanese Windows fonts; with another Japanese font alone,
  // fontconfig's sans-serif for Japanese (see FontLayout) takes their place.
  if (name == "ＭＳ Ｐゴシック" || name == "MS PGothic") return "IPAPGothic,IPAGothic,sans-serif";
  if (name == "ＭＳ ゴシック" || name == "MS Gothic") return "IPAGothic,IPAPGothic,sans-serif";
  if (name == "MS Sans Serif" || name == "Tahoma") return "Sans";
  return name;
}

PangoLayout* FontLayout(cairo_t* cr, const FontInfo& font, const TwipsScale& scale) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoContext* context = pango_layout_get_context(layout);
  // Points are set at the screen's own density, as twips count it.
  pango_cairo_context_set_resolution(context, 1440.0 / scale.Y);
  // The generic families (sans-serif) are the Japanese ones, so that the texts show with
  // whichever Japanese font is installed when the named faces are not.
  pango_context_set_language(context, pango_language_from_string("ja"));
  pango_layout_context_changed(layout);
  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description, FontFamilyFor(font.Name).c_str());
  pango_font_description_set_size(description, static_cast<int>(font.Size * PANGO_SCALE));
  pango_font_description_set_weight(description, static_cast<PangoWeight>(font.Weight));
  pango_font_description_set_style(description,
                                   font.Italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_layout_set_font_description(layout, description);
  pango_font_description_free(description);
  PangoAttrList* attributes = pango_attr_list_new();
  if (font.Underline)
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (font.Strikethrough) pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
  pango_layout_set_attributes(layout, attributes);
  pango_attr_list_unref(attributes);
  return layout;
}

void SetSourceColour(cairo_t* cr, std::uint32_t rgb) {
  cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                       (rgb & 0xFF) / 255.0);
}

}  // namespace orvane
