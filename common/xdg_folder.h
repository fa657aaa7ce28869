#pragma once

#include <sys/types.h>

#include <string>

namespace orvane::common {

// The folder named by the XDG base-directory variable (XDG_CACHE_HOME, XDG_CONFIG_HOME), or
// $HOME + fallback when the variable is unset or not absolute, without a trailing "/".
std::string XdgFolder(const char* variable, const char* fallback);

// Makes folder and any missing parent with mode 0700. True when it is a directory afterwards.
bool MakePrivateFolders(const std::string& folder);

// The user's runtime folder for a process started without XDG_RUNTIME_DIR (a screen-saver
// daemon may hand its saver only a few variables): base + "/" + uid when that is a directory,
// not a symbolic link, owned by uid and private to it (mode 0700); "" otherwise.
std::string PrivateRuntimeFolder(const std::string& base, uid_t uid);

// Sets XDG_RUNTIME_DIR to PrivateRuntimeFolder(base, the real user) when it is unset or empty
// and that folder qualifies, so that the sound server's client and the music lock find the
// session's own folder; the host's base is "/run/user". Changes the environment: call before
// any thread starts.
void SetRuntimeFolderWhenUnset(const std::string& base);

}  // namespace orvane::common
