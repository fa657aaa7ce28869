#include "host/usage.h"

namespace orvane {

std::optional<std::string> InformationText(std::span<const char* const> arguments,
                                           std::string_view version,
                                           const std::function<UsagePlaces()>& places) {
  for (const char* argument : arguments) {
    if (argument == nullptr) continue;
    const std::string_view text(argument);
    if (text == "--version") return "Orvane " + std::string(version) + "\n";
    if (text != "--help") continue;
    const UsagePlaces where = places();
    return "Usage: Orvane.scr [/s | /p <window> | /c | --root [--window-id <window>]]\n"
           "Flies through an endless, rolling, textured tunnel, with music.\n"
           "\n"
           "Modes:\n"
           "  /s                    the saver, until Escape, the cursor hidden\n"
           "  (none)                the saver, the cursor left visible\n"
           "  /p <window>           a still preview inside the X window of that decimal id\n"
           "  /c                    the settings dialog: the music\n"
           "Screen-saver daemons (xscreensaver, MATE, XSecureLock):\n"
           "  --root                draw into the window in XSCREENSAVER_WINDOW, else the root\n"
           "  --window-id <window>  draw into that window (0x… or decimal): a preview pane\n"
           "Also:\n"
           "  --help, --version     this text; the version alone\n"
           "\n"
           "Settings: " +
           where.settingsFile +
           "\n"
           "  (Orvane.ini beside Orvane.scr when you can write it there and the programs\n"
           "  are not under /usr, else ${XDG_CONFIG_HOME:-~/.config}/orvane/Orvane.ini)\n"
           "Your picture (made by orvane-picture): " +
           where.userPicture + "\n";
  }
  return std::nullopt;
}

}  // namespace orvane
