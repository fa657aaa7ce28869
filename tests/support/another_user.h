#pragma once

#include <pwd.h>
#include <unistd.h>

#include <string>

namespace orvane::testing {

// Gives path (not a link it names) to the user "nobody". That takes root, which the tests have
// here and in CI; a test asserts it, so that it fails rather than skips without root.
inline bool GiveToAnotherUser(const std::string& path) {
  const passwd* nobody = getpwnam("nobody");
  return nobody != nullptr && nobody->pw_uid != geteuid() &&
         lchown(path.c_str(), nobody->pw_uid, nobody->pw_gid) == 0;
}

}  // namespace orvane::testing
