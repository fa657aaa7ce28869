#pragma once

#include <string>

namespace orvane::common {

// The folder named by the XDG base-directory variable (XDG_CACHE_HOME, XDG_CONFIG_HOME), or
// $HOME + fallback when the variable is unset or not absolute, without a trailing "/".
std::string XdgFolder(const char* variable, const char* fallback);

// Makes folder and any missing parent with mode 0700. True when it is a directory afterwards.
bool MakePrivateFolders(const std::string& folder);

}  // namespace orvane::common
