#pragma once

#include <memory>

#include "host/preview_form.h"
#include "platform/platform.h"

// The preview form: a still picture embedded in the caller's window.
namespace orvane {

// Embeds the form filling hostWindow and returns; the process ends once the form is gone. A
// hostWindow that names no window ends the process at once, having shown nothing.
void StartPreview(WindowHandle hostWindow, Platform& platform);

// StartPreview's steps with load's form, which must live until the process ends; nullptr after
// ending the process.
std::unique_ptr<PreviewForm> ShowPreview(WindowHandle hostWindow, Platform& platform,
                                         const PreviewFormLoader& load);

// ShowPreview, the shown form then kept until the process ends: each system's StartPreview.
void StartPreviewWith(WindowHandle hostWindow, Platform& platform, const PreviewFormLoader& load);

}  // namespace orvane
