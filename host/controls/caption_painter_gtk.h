#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <cstdint>
#include <string>

#include "host/controls/caption_label.h"
#include "host/controls/twips.h"

namespace orvane {

// The installed face that stands in for a font name of the control's design.
std::string FontFamilyFor(const std::string& name);

// A layout for cr in the font, underlined or struck through as it says, its points at the
// screen's density; the caller unrefs it.
PangoLayout* FontLayout(cairo_t* cr, const FontInfo& font, const TwipsScale& scale);

// A colour 0xRRGGBB as cr's source.
void SetSourceColour(cairo_t* cr, std::uint32_t rgb);

// Draws the label's text into cr (whose origin is the control's top-left corner) as the face's
// caption says, with Pango at the screen's density.
void DrawCaption(cairo_t* cr, const CaptionPaint& paint, const CaptionLabel& label,
                 const TwipsScale& scale);

}  // namespace orvane
