// The Wayland saver on the real system: start-up with no X display, the GLib main loop, signals.
#include <glib.h>
#include <gtk/gtk.h>
#include <stdlib.h>

#include <cstdio>
#include <memory>
#include <string>

#include "common/data_directory.h"
#include "host/Orvane_B.h"
#include "host/daemon_command_line.h"
#include "host/music/Orvane_BGM.h"
#include "host/saver_session.h"
#include "host/wayland_saver.h"
#include "platform/linux/close_watch.h"
#include "platform/linux/posix_platform.h"
#include "platform/linux/x11_platform.h"
#include "platform/multimedia.h"

namespace orvane {
namespace {

// Saver mode's start-up without a window system: the saver lock answers for a running saver,
// and the renderer hides the pointer over its own surfaces.
class NoWindowSystem final : public WindowFinder,
                             public Cursor,
                             public WindowGeometry,
                             public Pointer,
                             public RectAnimation,
                             public ScreenMetrics {
 public:
  WindowHandle FindWindow(std::string_view) override { return 0; }
  void ShowCursor(bool) override {}
  std::optional<Rect> GetWindowRect(WindowHandle) override { return std::nullopt; }
  bool SetParent(WindowHandle, WindowHandle) override { return false; }
  std::optional<Point> GetCursorPos() override { return std::nullopt; }
  void DrawAnimatedRects(WindowHandle, const Rect&, const Rect&) override {}
  float TwipsPerPixelX() override { return 15.0f; }
  float TwipsPerPixelY() override { return 15.0f; }
  int ScreenWidth() override { return 0; }
  int ScreenHeight() override { return 0; }
};

// A missing file's message, in a GTK box on whichever display GTK finds (the compositor
// first). GTK is started only then, so that a saver that runs does not wait for it.
class StartedOnDemandMessageBox final : public MessageBox {
 public:
  void ShowMessage(std::string_view text) override {
    if (!box_ && gtk_init_check(nullptr, nullptr)) box_ = MakeGtkMessageBox();
    if (box_) {
      box_->ShowMessage(text);
      return;
    }
    std::fprintf(stderr, "Orvane: %.*s\n", static_cast<int>(text.size()), text.data());
  }

 private:
  std::unique_ptr<MessageBox> box_;
};

// Everything below lives as long as the process, which ends in the run's close step.
std::unique_ptr<SaverLock> saverLock;
std::unique_ptr<OwnedProgram> renderer;
std::unique_ptr<MusicLock> musicLock;
std::unique_ptr<platform::Multimedia> multimedia;
std::unique_ptr<WaylandSaver> saver;
std::unique_ptr<CloseWatch> closeWatch;

void CreateWaylandSaver(Platform& platform) {
  saver = std::make_unique<WaylandSaver>(
      platform, WaylandSaverParts{*renderer, *musicLock, *saverLock, [] {
                                    multimedia = platform::CreateSystemMultimedia();
                                    BGM_UseMultimedia(*multimedia);
                                  }});
  // Heard before the renderer starts, so that no signal can leave it running.
  closeWatch = std::make_unique<CloseWatch>([] { saver->Close(); });
  saver->Start();
}

}  // namespace

int RunWaylandSaver(const std::string& commandLine) {
  static NoWindowSystem none;
  static StartedOnDemandMessageBox messageBox;
  static auto fileSystem = MakePosixFileSystem();
  static auto process = MakePosixProcess();
  static auto timers = MakeGLibTimers();
  static auto userFiles = MakePosixUserFiles();
  const char* runtimeFolder = getenv("XDG_RUNTIME_DIR");
  saverLock = MakeFlockSaverLock(SaverLockPath(runtimeFolder, common::DataDirectory()));
  musicLock = MakeFlockMusicLock(MusicLockPath(runtimeFolder, common::DataDirectory()));
  // In a process group of its own, so that a terminal's Ctrl-C reaches the host alone, whose
  // close step then ends the renderer.
  renderer = MakePosixOwnedProgram(true);
  static SaverLockFinder finder(none, *saverLock);
  static Platform platform{finder, none,        messageBox, none,    none,      none,
                           none,   *fileSystem, *process,   *timers, *userFiles};
  Main(commandLine, platform, ModeHandlers{{}, {}, CreateWaylandSaver});
  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  g_main_loop_run(loop);
  return 0;
}

}  // namespace orvane
