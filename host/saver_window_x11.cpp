// The saver window on the real system: an unmapped X window on GDK's display, and the music.
#include <gdk/gdkx.h>

#include <memory>

#include "host/Orvane_S.h"
#include "host/music/Orvane_BGM.h"
#include "platform/multimedia.h"

namespace orvane {

void CreateSaverWindow(Platform& platform) {
  // All of these live as long as the process, which ends in the window's close step.
  static std::unique_ptr<HiddenWindows> windows;
  static std::unique_ptr<platform::Multimedia> multimedia;

  GdkDisplay* display = gdk_display_get_default();
  if (display != nullptr && GDK_IS_X11_DISPLAY(display)) {
    windows = MakeX11HiddenWindows(gdk_x11_display_get_xdisplay(display));
  }
  if (!windows) {
    // No X display to make the window on: nothing would keep the saver alive.
    platform.process.EndProcess();
    return;
  }
  // Never deleted: the window's close step ends the process.
  new SaverWindow(platform, *windows, [] {
    if (multimedia) return;
    multimedia = platform::CreateSystemMultimedia();
    BGM_UseMultimedia(*multimedia);
  });
}

}  // namespace orvane
