#pragma once

// The GTK settings dialog's painting of the controls that are drawn rather than widgets.

#include <gtk/gtk.h>

#include <array>

#include "host/controls/twips.h"
#include "host/dialog/settings_form.h"

namespace orvane {

// The dialog's pictures as cairo images: the panel's tile and the two marks.
class DialogImages {
 public:
  DialogImages();
  ~DialogImages();
  DialogImages(const DialogImages&) = delete;
  DialogImages& operator=(const DialogImages&) = delete;

  cairo_surface_t* Tile() const { return tile_; }
  cairo_surface_t* Mark(ChoiceMark mark) const { return marks_[static_cast<int>(mark)]; }

 private:
  cairo_surface_t* tile_ = nullptr;
  std::array<cairo_surface_t*, 2> marks_{};
};

// The music file's caption is fitted to its label at its first paint.
void PaintArea(cairo_t* cr, GtkWidget* area, DialogContainer container, DialogShown& shown,
               const DialogImages& images, const TwipsScale& scale);

// The web link label's own pointer.
GdkCursor* LinkCursor(GdkDisplay* display);

}  // namespace orvane
