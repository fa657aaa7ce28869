#pragma once

// The Command button's face drawn with cairo and Pango, and the helpers the dialog shares with it.

#include <cairo.h>
#include <pango/pango.h>

#include <cstdint>
#include <string>

#include "host/controls/command_face.h"
#include "host/controls/twips.h"

namespace orvane {

// Draws a face into cr, whose origin is the control's top-left corner.
void DrawFace(cairo_t* cr, const CommandFace& face, const TwipsScale& scale);

// A 24-bit picture as a cairo image of its own (of no pixels for a picture that is not valid).
cairo_surface_t* ImageOf(const Picture& picture);

// The installed face that stands in for a font name of the control's design.
std::string FontFamilyFor(const std::string& name);

// A layout for cr in the font at the screen's density; the caller unrefs it.
PangoLayout* FontLayout(cairo_t* cr, const FontInfo& font, const TwipsScale& scale);

// A colour 0xRRGGBB as cr's source.
void SetSourceColour(cairo_t* cr, std::uint32_t rgb);

}  // namespace orvane
