#pragma once

#include <string>
#include <vector>

#include "tests/support/child.h"

// What the screen-saver daemons' tests share: running as nobody, for xscreensaver starts no
// saver as root.
namespace orvane::testing {

// argv as nobody, in an environment of only PATH and the NAME=value pairs given.
inline std::vector<std::string> AsNobody(const std::vector<std::string>& env,
                                         const std::vector<std::string>& argv) {
  std::vector<std::string> all = {
      "setpriv", "--reuid=nobody",    "--regid=nogroup", "--clear-groups", "env",
      "-i",      "PATH=/usr/bin:/bin"};
  all.insert(all.end(), env.begin(), env.end());
  all.insert(all.end(), argv.begin(), argv.end());
  return all;
}

// Lets every user read (and run) what lies in folder.
inline void OpenToAll(const std::string& folder) {
  RunShell("chmod -R a+rX '" + folder + "'");
}

}  // namespace orvane::testing
