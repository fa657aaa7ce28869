#pragma once

#include "host/controls/command_face.h"
#include "host/controls/twips.h"
#include "platform/win32/windows_api.h"

namespace orvane {

// Draws a face as the core describes it into dc, whose origin is the control's top-left corner,
// with GDI: when the face is shown the background (FillRect), the gradient (GradientFill) and the
// frame pieces (StretchBlt), then the caption (DrawTextW).
void DrawFace(HDC dc, const CommandFace& face, const TwipsScale& scale);

}  // namespace orvane
