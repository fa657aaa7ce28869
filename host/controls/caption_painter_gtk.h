#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <memory>
#include <string>

#include "host/controls/Command.h"
#include "host/controls/caption_label.h"
#include "host/controls/twips.h"

namespace orvane {

// The installed face that stands in for a font name of the control's design.
std::string FontFamilyFor(const std::string& name);

// Makes a layout's generic families (sans-serif) the Japanese ones, so that the texts show
// with whichever Japanese font is installed when the named faces are not.
void PreferJapanese(PangoLayout* layout);

// Draws the caption label into cr (whose origin is the control's top-left corner) as
// CaptionPaintOf says, with Pango.
void DrawCaption(cairo_t* cr, const CaptionLabel& label, const TwipsScale& scale);

// Paints a control as its core says: the face (its Surface shown as a cairo image, not copied)
// when it is shown, and the caption over it.
class ControlPainter {
 public:
  void Paint(cairo_t* cr, const Command& control, const TwipsScale& scale);

 private:
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> image_{nullptr,
                                                                            cairo_surface_destroy};
};

}  // namespace orvane
