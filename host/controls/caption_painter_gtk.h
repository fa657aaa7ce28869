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

// Draws the caption label into cr (whose origin is the control's top-left corner): the
// text centred in the label's width from its top edge down, clipped to the label, in its
// colour, or greyed and embossed when the label is disabled.
void DrawCaption(cairo_t* cr, const CaptionLabel& label, const TwipsScale& scale);

}  // namespace orvane
