#pragma once

#include <cairo.h>

#include "host/controls/command_face.h"
#include "host/controls/picture.h"

namespace orvane {

// Draws a face as the core describes it into cr, whose origin is the control's top-left corner:
// the background, the gradient and the frame pieces; nothing when the face is not shown. The
// caption is drawn over it by DrawCaption (caption_painter_gtk.h).
void DrawFace(cairo_t* cr, const CommandFace& face);

// A 24-bit picture as a cairo image of its own (of no pixels for a picture that is not valid).
cairo_surface_t* ImageOf(const Picture& picture);

}  // namespace orvane
