#pragma once

#include "platform/platform.h"

// The preview form: a still picture embedded in the caller's window.
namespace orvane {

// Preview mode's hand-over. hostWindow is the caller's X window from the command line (0 or
// a window that does not exist is allowed: the form then has no size). It embeds the preview
// form as a child of hostWindow, sized to fill it, and shows it, then returns; the caller then
// runs the main loop. Once the preview form is gone, the process must end
// (platform.process.EndProcess()).
void StartPreview(WindowHandle hostWindow, Platform& platform);

}  // namespace orvane
