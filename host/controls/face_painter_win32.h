#pragma once

#include "host/controls/command_face.h"
#include "platform/win32/windows_api.h"

namespace orvane {

// Draws a face as the core describes it into dc, whose origin is the control's top-left corner,
// with GDI: the background (FillRect), the gradient (GradientFill) and the frame pieces
// (StretchBlt); nothing when the face is not shown. The caption is drawn over it by
// CaptionPainter (caption_painter_win32.h).
void DrawFace(HDC dc, const CommandFace& face);

}  // namespace orvane
