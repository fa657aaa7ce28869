#include "host/controls/caption_painter_gtk.h"

#include <pango/pangocairo.h>

#include <memory>

namespace orvane {

std::string FontFamilyFor(const std::string& name) {
  // The IPA fonts stand in for the Japanese Windows fonts; with another Japanese font alone,
  // fontconfig's sans-serif for Japanese (see FontLayout) takes their place.
  if (name == "ＭＳ Ｐゴシック" || name == "MS PGothic") return "IPAPGothic,IPAGothic,sans-serif";
  if (name == "ＭＳ ゴシック" || name == "MS Gothic") return "IPAGothic,IPAPGothic,sans-serif";
  if (name == "MS Sans Serif" || name == "Tahoma") return "Sans";
  return name;
}

void SetSourceColour(cairo_t* cr, std::uint32_t rgb) {
  cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                       (rgb & 0xFF) / 255.0);
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

void DrawCaption(cairo_t* cr, const CaptionPaint& paint, const CaptionLabel& label,
                 const TwipsScale& scale) {
  if (!paint.Drawn) return;
  const int left = paint.Box.X, top = paint.Box.Y;
  const int width = paint.Box.Width, height = paint.Box.Height;

  std::unique_ptr<PangoLayout, decltype(&g_object_unref)> layout(FontLayout(cr, label.Font, scale),
                                                                 g_object_unref);
  pango_layout_set_alignment(layout.get(), PANGO_ALIGN_CENTER);
  pango_layout_set_text(layout.get(), label.Text.c_str(), -1);

  int textWidth = 0, textHeight = 0;
  pango_layout_get_pixel_size(layout.get(), &textWidth, &textHeight);
  const double x = left + (width - textWidth) / 2;

  cairo_save(cr);
  cairo_rectangle(cr, left, top, width, height);
  cairo_clip(cr);
  if (paint.Greyed) {
    SetSourceColour(cr, kCaptionShadow);
    cairo_move_to(cr, x + 1, top + 1);
    pango_cairo_show_layout(cr, layout.get());
  }
  SetSourceColour(cr, paint.Greyed ? kCaptionGrey : paint.Colour);
  cairo_move_to(cr, x, top);
  pango_cairo_show_layout(cr, layout.get());
  cairo_restore(cr);
}

}  // namespace orvane
