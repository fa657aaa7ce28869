#pragma once

#include <pwd.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/child.h"

// Running as nobody, as root may: xscreensaver starts no saver as root, and a folder of another
// user's is one the test's user may not write.
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

// Gives path (not a link it names) to nobody. A test asserts it, so that it fails rather than
// skips without root.
inline bool GiveToAnotherUser(const std::string& path) {
  const passwd* nobody = getpwnam("nobody");
  return nobody != nullptr && nobody->pw_uid != geteuid() &&
         lchown(path.c_str(), nobody->pw_uid, nobody->pw_gid) == 0;
}

}  // namespace orvane::testing
