#pragma once

#include <string>

// The user's own folders as the desktop names them (GLib's reading of the XDG user
// directories).
namespace orvane {

// The desktop's music folder when it is set and exists as a folder; "" otherwise.
std::string DesktopMusicFolder();
// The home folder: $HOME, else the user's entry in the password database.
std::string DesktopHomeFolder();

}  // namespace orvane
