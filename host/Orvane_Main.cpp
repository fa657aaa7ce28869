// Main: the single-instance test, the mode dispatch and the start-up checks.
#include <string_view>
#include <utility>

#include "host/Orvane_B.h"
#include "host/command_line.h"
#include "host/guarded.h"

namespace orvane {
void Main(std::string commandLine, Platform& platform, const ModeHandlers& handlers) {
  SetCommandLine(std::move(commandLine));
  Guarded([&] { SetHostFolder(platform.process.HostFolder()); });
  // A system-wide installation keeps what the user chooses in the user's own folder.
  UseUserFiles(platform.userFiles);

  // Another saver or settings dialog is open: end silently. Both searches are always made.
  bool refused = false;
  for (std::string_view title : {SaverWindowTitle, DialogWindowTitle}) {
    Guarded([&] { refused = platform.windowFinder.FindWindow(title) != 0 || refused; });
  }
  if (refused) {
    platform.process.EndProcess();
    return;
  }

  if (ModeLetter() == "P") {
    Guarded([&] {
      const std::int32_t handle = PreviewHandle(CommandLine());
      handlers.startPreview(static_cast<WindowHandle>(static_cast<std::uint32_t>(handle)),
                            platform);
    });
    return;
  }

  if (const std::string_view missing = PrepareStart(platform.fileSystem); !missing.empty()) {
    Guarded([&] { platform.messageBox.ShowMessage(missing); });
    platform.process.EndProcess();
    return;
  }

  if (ModeLetter() == "C") {
    Guarded([&] { handlers.showSettingsDialog(platform); });
    platform.process.EndProcess();
    return;
  }
  if (!CommandLine().empty() && ModeLetter() != "S") {
    platform.process.EndProcess();
    return;
  }
  if (ModeLetter() == "S") Guarded([&] { platform.cursor.ShowCursor(false); });
  Guarded([&] { handlers.createSaverWindow(platform); });
}

}  // namespace orvane
