// The saver window: load step, the three timers and the close step.
#include "host/Orvane_S.h"

#include "host/Orvane_B.h"
#include "host/guarded.h"

namespace orvane {

SaverWindow::SaverWindow(Platform& platform, HiddenWindows& windows,
                         std::function<void()> prepareMusic)
    : platform_(platform),
      windows_(windows),
      timer3_(platform.timers, Timer3Interval, [this] { WatchRenderer(); }),
      music_(platform.timers, std::move(prepareMusic)),
      watch_(platform, Timer3Interval) {
  // The system's close (logoff, shutdown) runs the same close step as the window's own.
  Guarded([&] { window_ = windows_.CreateHiddenWindow(SaverWindowTitle, [this] { Close(); }); });
  // Running from creation, Timer3's first look comes about 500 ms on, after start-up returned.
  Guarded([&] { timer3_.Start(); });
  Load();
}

SaverWindow::~SaverWindow() {
  Destroy();
}

void SaverWindow::Load() {
  // The renderer reads its texture from the data directory, so the copy comes first.
  Guarded([&] { platform_.fileSystem.CopyFile(PicturePath(), std::string(TextureCopyPath)); });
  // No arguments and no waiting: the renderer's window title is all that links us.
  Guarded([&] { watch_.StartRenderer(RendererPath()); });
  music_.Start();
}

void SaverWindow::WatchRenderer() {
  if (closing_) return;
  bool ended = false;
  Guarded([&] { ended = watch_.RendererEnded(); });
  if (!ended) return;
  Guarded([&] { timer3_.Stop(); });
  Close();
}

void SaverWindow::Close() {
  if (closing_) return;
  closing_ = true;

  music_.Stop();
  // With an empty command line start-up never hid the cursor, so there is nothing to undo.
  Guarded([&] {
    if (ModeLetter() == "S") platform_.cursor.ShowCursor(true);
  });
  // The renderer is left alone: it ends on its own key.
  Guarded([&] { platform_.process.EndProcess(); });
  // Only a test's platform comes back from there; the window then goes as a closed one does.
  Destroy();
}

void SaverWindow::Destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  music_.StopTimers();
  Guarded([&] { timer3_.Stop(); });
  Guarded([&] {
    if (window_ != 0) windows_.DestroyHiddenWindow(window_);
  });
}

}  // namespace orvane
