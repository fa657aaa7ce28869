// The program Orvane.scr: Main and its main loop, or the daemon mode for a daemon's command
// line, or the Wayland saver on a Wayland session (ORVANE_X11=1 keeps it on XWayland).
#include <glib.h>

#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "common/data_directory.h"
#include "common/user_config.h"
#include "common/xdg_folder.h"
#include "host/Orvane_B.h"
#include "host/Orvane_R.h"
#include "host/Orvane_S.h"
#include "host/command_line.h"
#include "host/daemon_run.h"
#include "host/dialog/Orvane_P.h"
#include "host/saver_session.h"
#include "host/usage.h"
#include "host/wayland_saver.h"
#include "platform/linux/posix_platform.h"
#include "platform/linux/wayland_probe.h"
#include "platform/linux/x11_platform.h"

namespace {

// The windows of the three modes: the preview, the settings dialog and the saver.
const orvane::ModeHandlers kModeHandlers{orvane::StartPreview, orvane::ShowSettingsDialog,
                                         orvane::CreateSaverWindow};

// The host keeps no log: messages of the libraries it uses go nowhere.
GLogWriterOutput DropLogMessage(GLogLevelFlags, const GLogField*, gsize, gpointer) {
  return G_LOG_WRITER_HANDLED;
}

}  // namespace

int main(int argc, char** argv) {
  // Before any thread (GLib's, GStreamer's) can read the environment.
  orvane::common::SetRuntimeFolderWhenUnset("/run/user");
  const std::span<const char* const> arguments(argv + 1,
                                               argc > 1 ? static_cast<size_t>(argc - 1) : 0);
  const std::string commandLine = orvane::JoinArguments(arguments);
  g_log_set_writer_func(DropLogMessage, nullptr, nullptr);
  const auto places = [] {
    return orvane::UsagePlaces{
        orvane::MakePosixUserFiles()->SettingsPath(orvane::MakePosixProcess()->HostFolder()),
        orvane::common::UserPicturePath()};
  };
  if (auto text = orvane::InformationText(arguments, ORVANE_VERSION, places)) {
    std::fputs(text->c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  if (auto request =
          orvane::ParseDaemonCommandLine(arguments, std::getenv("XSCREENSAVER_WINDOW"))) {
    return orvane::RunDaemon(*request);
  }
  if (orvane::UsesWaylandSaver(commandLine, std::getenv("WAYLAND_DISPLAY"),
                               std::getenv("ORVANE_X11"), orvane::WaylandCompositorAnswers)) {
    return orvane::RunWaylandSaver(commandLine);
  }

  auto platform = orvane::X11Platform::Open();
  if (!platform) {
    // One of the host's two writes to standard error (the other: a refused data directory).
    std::fputs(std::getenv("WAYLAND_DISPLAY") != nullptr
                   ? "Orvane: cannot open the X display; on a Wayland session the settings "
                     "dialog and the preview need XWayland (is DISPLAY set?)\n"
                   : "Orvane: cannot open the X display (is DISPLAY set and the X server "
                     "running?)\n",
               stderr);
    return 1;
  }
  // A saver on the Wayland session refuses this start as a saver window would.
  const auto saverLock = orvane::MakeFlockSaverLock(
      orvane::SaverLockPath(std::getenv("XDG_RUNTIME_DIR"), orvane::common::DataDirectory()));
  const orvane::Platform& x11 = platform->platform();
  orvane::SaverLockFinder finder(x11.windowFinder, *saverLock);
  orvane::Platform withSaverLock{
      finder,      x11.cursor,        x11.messageBox,    x11.windowGeometry,
      x11.pointer, x11.rectAnimation, x11.screenMetrics, x11.fileSystem,
      x11.process, x11.timers,        x11.userFiles};
  orvane::Main(commandLine, withSaverLock, kModeHandlers);
  platform->RunMainLoop();
  return 0;
}
