#pragma once

#include <string>
#include <string_view>

namespace orvane::common {

// The per-user folder that stands for the fixed Windows folder "C:\t_ovin":
// ${XDG_CACHE_HOME:-$HOME/.cache}/t_ovin. It is private to the user, because a shared
// folder such as /tmp would let another user plant or read the texture copy.
std::string DataDirectory();

// Maps one of the programs' fixed Windows paths under "C:\t_ovin" (the drive letter and
// the folder name in any case, "\" or "/" as separator) to its place in DataDirectory().
// Any other text is returned unchanged.
std::string MapFixedPath(std::string_view windowsPath);

// Creates DataDirectory() and any missing parent with mode 0700. True when it exists
// afterwards as a directory.
bool CreateDataDirectory();

}  // namespace orvane::common
