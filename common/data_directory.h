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

// What the one rule for the data directory, which both programs apply before they use it,
// makes of DataDirectory().
enum class DataDirectoryState {
  Usable,   // a directory of the user's own, no longer writable by anyone else
  Missing,  // nothing there, or something that is no directory
  Refused,  // a symbolic link, a directory owned by another user, or one that stays writable
            // by others: not to be used
};

// The rule: a directory of the user's own that others can write is tightened to 0700 and
// used; a symbolic link, or a directory owned by another user, is refused, and the first
// refusal in the process writes one line naming the path and its owner on standard error.
DataDirectoryState CheckDataDirectory();

// Creates DataDirectory() and any missing parent with mode 0700, then applies the rule. True
// when the directory is usable afterwards.
bool CreateDataDirectory();

}  // namespace orvane::common
