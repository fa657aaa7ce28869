#include "host/dialog/dialog_paint_gtk.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <string>

#include "host/controls/face_painter_gtk.h"
#include "host/dialog/dialog_pictures.h"
#include "host/dialog/path_elision.h"

namespace orvane {
namespace {

// A picture at the top-left corner of at, grown with the screen's density (nearest pixel).
void PaintPicture(cairo_t* cr, cairo_surface_t* image, const Picture& picture, DialogPoint at,
                  const TwipsScale& scale) {
  const DialogPoint size = PictureSizeOnScreen(picture, scale);
  if (picture.Width <= 0 || picture.Height <= 0) return;
  cairo_save(cr);
  cairo_translate(cr, at.X, at.Y);
  cairo_scale(cr, static_cast<double>(size.X) / picture.Width,
              static_cast<double>(size.Y) / picture.Height);
  cairo_set_source_surface(cr, image, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_rectangle(cr, 0, 0, picture.Width, picture.Height);
  cairo_fill(cr);
  cairo_restore(cr);
}

// IPAPGothic runs a little wider than the design's font, so a one-line label's text may run a
// few pixels past its right edge rather than lose its last letters.
PangoLayout* LabelLayout(cairo_t* cr, const Rect& rect, const DialogControl& label,
                         const TwipsScale& scale) {
  PangoLayout* layout = FontLayout(cr, DialogFont(label), scale);
  const bool wrap = label.Layout == DialogTextLayout::Wrapped;
  const bool centred = label.Layout == DialogTextLayout::Centred;
  if (wrap || centred) pango_layout_set_width(layout, rect.Width * PANGO_SCALE);
  if (wrap) pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_alignment(layout, centred ? PANGO_ALIGN_CENTER : PANGO_ALIGN_LEFT);
  return layout;
}

void DrawLabel(cairo_t* cr, const Rect& rect, const std::string& text, const DialogControl& label,
               const TwipsScale& scale) {
  if (text.empty() || rect.Width <= 0 || rect.Height <= 0) return;
  cairo_save(cr);
  if (label.Layout == DialogTextLayout::Wrapped) {
    cairo_rectangle(cr, rect.X, rect.Y, rect.Width, rect.Height);
    cairo_clip(cr);
  }
  PangoLayout* layout = LabelLayout(cr, rect, label, scale);
  pango_layout_set_text(layout, text.c_str(), -1);
  SetSourceColour(cr, label.ForeColour);
  cairo_move_to(cr, rect.X, rect.Y);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  cairo_restore(cr);
}

// As much of a path as the label's lines hold, elided in the middle. A line counts when most
// of it shows: the label's height is a hair short of two lines of its font.
std::string FittedPath(cairo_t* cr, const Rect& rect, const std::string& path,
                       const DialogControl& label, const TwipsScale& scale) {
  if (rect.Width <= 0 || rect.Height <= 0) return path;
  PangoLayout* layout = LabelLayout(cr, rect, label, scale);
  pango_layout_set_text(layout, "X", -1);
  int lineHeight = 0;
  pango_layout_get_pixel_size(layout, nullptr, &lineHeight);
  const int lines = std::max(1, (rect.Height + lineHeight / 4) / std::max(1, lineHeight));
  std::string fitted = ElideMiddle(path, [&](std::string_view text) {
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    return pango_layout_get_line_count(layout) <= lines;
  });
  g_object_unref(layout);
  return fitted;
}

// The controls of a container painted rather than widgets, in the table's order.
void PaintControls(cairo_t* cr, DialogContainer container, DialogShown& shown,
                   const DialogImages& images, const TwipsScale& scale) {
  for (const DialogControl& control : DialogControls()) {
    if (control.Container != container) continue;
    const Rect rect = ToPixels(control, scale);
    switch (control.Kind) {
      case DialogControlKind::Shape:
        // A one-pixel outline just inside its rectangle.
        SetSourceColour(cr, control.ForeColour);
        cairo_set_line_width(cr, 1.0);
        cairo_rectangle(cr, rect.X + 0.5, rect.Y + 0.5, rect.Width - 1, rect.Height - 1);
        cairo_stroke(cr);
        break;
      case DialogControlKind::Image:
        PaintPicture(cr, images.Mark(shown.Marks.at(control.Index)), MarkPicture(control.Index),
                     DialogPoint{rect.X, rect.Y}, scale);
        break;
      case DialogControlKind::Label:
        if (control.Name == "lbl_Fname") {
          if (!shown.FittedCaption) {
            shown.FittedCaption = FittedPath(cr, rect, shown.FileCaption, control, scale);
          }
          DrawLabel(cr, rect, *shown.FittedCaption, control, scale);
        } else {
          DrawLabel(cr, rect, std::string(control.Text), control, scale);
        }
        break;
      default:
        break;  // a widget of its own
    }
  }
}

}  // namespace

DialogImages::DialogImages()
    : tile_(ImageOf(BackgroundTile())), marks_{ImageOf(MarkPicture(0)), ImageOf(MarkPicture(1))} {}

DialogImages::~DialogImages() {
  cairo_surface_destroy(tile_);
  for (cairo_surface_t* image : marks_) cairo_surface_destroy(image);
}

void PaintArea(cairo_t* cr, GtkWidget* area, DialogContainer container, DialogShown& shown,
               const DialogImages& images, const TwipsScale& scale) {
  const int width = gtk_widget_get_allocated_width(area);
  const int height = gtk_widget_get_allocated_height(area);
  const bool form = container == DialogContainer::Form;
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, width, height);
  cairo_clip(cr);
  SetSourceColour(cr, form ? kDialogFormColour : DialogControlNamed("Pic_C").BackColour);
  cairo_paint(cr);
  // The form's banded gradient, one row of its colour for each row; the panel's tiles.
  for (size_t y = 0; form && y < shown.Rows.size() && static_cast<int>(y) < height; ++y) {
    const RowColour& row = shown.Rows[y];
    cairo_set_source_rgb(cr, row.Red / 255.0, row.Green / 255.0, row.Blue / 255.0);
    cairo_rectangle(cr, 0, static_cast<double>(y), width, 1);
    cairo_fill(cr);
  }
  for (size_t i = 0; !form && i < shown.Tiles.size(); ++i)
    PaintPicture(cr, images.Tile(), BackgroundTile(), shown.Tiles[i], scale);
  PaintControls(cr, container, shown, images, scale);
  cairo_restore(cr);
}

GdkCursor* LinkCursor(GdkDisplay* display) {
  // The picture lives as long as the program; the pixbuf only borrows its pixels.
  const PointerPicture& picture = LinkPointer();
  GdkPixbuf* pixbuf =
      gdk_pixbuf_new_from_data(picture.Rgba.data(), GDK_COLORSPACE_RGB, TRUE, 8, picture.Width,
                               picture.Height, picture.Width * 4, nullptr, nullptr);
  if (pixbuf == nullptr) return nullptr;
  GdkCursor* cursor = gdk_cursor_new_from_pixbuf(display, pixbuf, picture.HotX, picture.HotY);
  g_object_unref(pixbuf);
  return cursor;
}

}  // namespace orvane
