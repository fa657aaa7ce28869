#pragma once

#include <memory>

#include "host/preview_form.h"
#include "platform/platform.h"

// The preview form: a still picture embedded in the caller's window.
namespace orvane {

// Preview mode's hand-over. hostWindow is the caller's X window from the command line. It
// embeds the preview form as a child of hostWindow, sized to fill it, and shows it, then
// returns; the caller then runs the main loop, and the process ends once the form is gone
// (the caller destroys its window, or the form is closed). A hostWindow of 0, or one that
// names no window, ends the process at once, having shown nothing.
void StartPreview(WindowHandle hostWindow, Platform& platform);

// StartPreview's steps with the form made by load. Returns the shown form, which must live
// until the process ends; nullptr after ending the process (platform.process.EndProcess()).
std::unique_ptr<PreviewForm> ShowPreview(WindowHandle hostWindow, Platform& platform,
                                         const PreviewFormLoader& load);

// ShowPreview, the shown form then kept until the process ends: each system's StartPreview.
void StartPreviewWith(WindowHandle hostWindow, Platform& platform, const PreviewFormLoader& load);

}  // namespace orvane
