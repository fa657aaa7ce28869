#pragma once

#include "host/controls/command_face.h"
#include "host/controls/twips.h"
#include "platform/win32/windows_api.h"

namespace orvane {

// Draws a face into dc with GDI, whose origin is the control's top-left corner.
void DrawFace(HDC dc, const CommandFace& face, const TwipsScale& scale);

}  // namespace orvane
