// The saver window on Windows: a hidden top-level window, and Windows' own multimedia.
#include <memory>

#include "host/Orvane_S.h"
#include "host/music/Orvane_BGM.h"
#include "platform/multimedia.h"
#include "platform/win32/win32_platform.h"

namespace orvane {

void CreateSaverWindow(Platform& platform) {
  // All of these live as long as the process, which ends in the window's close step.
  static std::unique_ptr<HiddenWindows> windows = MakeWin32HiddenWindows();
  static std::unique_ptr<platform::Multimedia> multimedia;

  // Never deleted: the window's close step ends the process.
  new SaverWindow(platform, *windows, [] {
    if (multimedia) return;
    multimedia = platform::CreateSystemMultimedia();
    BGM_UseMultimedia(*multimedia);
  });
}

}  // namespace orvane
