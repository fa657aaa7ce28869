#pragma once

#include <string>

namespace orvane::common {

// The per-user folder for what a user chooses when the programs' own folder is not theirs
// to write: ${XDG_CONFIG_HOME:-$HOME/.config}/orvane.
std::string UserConfigFolder();

// The user's own tunnel picture, made by orvane-picture, in UserConfigFolder(); the saver
// shows it in place of the one installed beside the programs.
std::string UserPicturePath();

}  // namespace orvane::common
