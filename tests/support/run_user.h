#pragma once

#include <string>
#include <vector>

namespace orvane::testing {

// /run/user/<uid>, the folder a login manager makes for a session and the host takes when it is
// started without XDG_RUNTIME_DIR, ready for the test's life with the test's sound server linked
// in as pulse/native. What is missing is made (that takes root, which the tests have here, in CI
// and in a chroot or container) and removed again at the end; what was there stays. The name is
// the machine's, not the test's, so one test at a time holds it (a lock on /run).
class UsersRuntimeFolder {
 public:
  explicit UsersRuntimeFolder(const std::string& soundSocket);
  ~UsersRuntimeFolder();
  UsersRuntimeFolder(const UsersRuntimeFolder&) = delete;
  UsersRuntimeFolder& operator=(const UsersRuntimeFolder&) = delete;

  // Why the folder is not ready; "" when it is.
  const std::string& error() const { return error_; }

 private:
  int lock_ = -1;
  std::vector<std::string> made_;  // in the order made
  std::string error_;
};

}  // namespace orvane::testing
