#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <string>

#include "host/controls/caption_label.h"
#include "host/controls/twips.h"

namespace orvane {

// The installed face that stands in for a font name of the control's design.
std::string FontFamilyFor(const std::string& name);

// Makes a layout's generic families (sans-serif) the Japanese ones, so that the texts show
// with whichever Japanese font is installed when the named faces are not.
void PreferJapanese(PangoLayout* layout);

// Draws the label's text into cr (whose origin is the control's top-left corner) as the face's
// caption says, with Pango at the screen's density.
void DrawCaption(cairo_t* cr, const CaptionPaint& paint, const CaptionLabel& label,
                 const TwipsScale& scale);

}  // namespace orvane
