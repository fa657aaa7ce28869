// The preview's steps: read the caller's window, load the form, embed it, size it, show it.
#include "host/Orvane_R.h"

#include <optional>

#include "host/guarded.h"

namespace orvane {
namespace {

std::unique_ptr<PreviewForm> EndPreview(Platform& platform) {
  platform.process.EndProcess();
  return nullptr;
}

}  // namespace

std::unique_ptr<PreviewForm> ShowPreview(WindowHandle hostWindow, Platform& platform,
                                         const PreviewFormLoader& load) {
  // Without a caller's window the form would have no size and no parent whose end ends it:
  // an invisible window that no one can close would keep the process alive for ever.
  if (hostWindow == 0) return EndPreview(platform);
  std::optional<Rect> host;
  Guarded([&] { host = platform.windowGeometry.GetWindowRect(hostWindow); });
  if (!host) return EndPreview(platform);

  float twipsPerPixelX = 15.0f;
  float twipsPerPixelY = 15.0f;
  Guarded([&] { twipsPerPixelX = platform.screenMetrics.TwipsPerPixelX(); });
  Guarded([&] { twipsPerPixelY = platform.screenMetrics.TwipsPerPixelY(); });

  std::unique_ptr<PreviewForm> form;
  Process& process = platform.process;
  Guarded([&] { form = load([&process] { process.EndProcess(); }); });
  if (!form || form->Window() == 0) return EndPreview(platform);

  // The parent comes before the form is sized and shown, so it never shows as a top-level
  // window. A caller's window that has gone meanwhile ends the preview as well.
  bool embedded = false;
  Guarded([&] { embedded = platform.windowGeometry.SetParent(form->Window(), hostWindow); });
  if (!embedded) return EndPreview(platform);

  const PreviewLayout layout = LayOutPreview(*host, twipsPerPixelX, twipsPerPixelY,
                                             form->PictureWidth(), form->PictureHeight());
  Guarded([&] { form->Arrange(layout); });
  Guarded([&] { form->Show(); });
  return form;
}

void StartPreviewWith(WindowHandle hostWindow, Platform& platform, const PreviewFormLoader& load) {
  // The shown form lives as long as the process; nothing is freed at exit.
  [[maybe_unused]] static PreviewForm* shownForm = nullptr;
  shownForm = ShowPreview(hostWindow, platform, load).release();
}

}  // namespace orvane
