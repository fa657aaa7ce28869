#include "tests/support/run_user.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tests/support/child.h"

namespace orvane::testing {

UsersRuntimeFolder::UsersRuntimeFolder(const std::string& soundSocket) {
  lock_ = open("/run", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (!WaitFor([&] { return lock_ >= 0 && flock(lock_, LOCK_EX | LOCK_NB) == 0; },
               std::chrono::seconds(60), std::chrono::milliseconds(100))) {
    error_ = "/run cannot be opened, or another test has held /run/user for a minute";
    return;
  }
  const std::string folder = "/run/user/" + std::to_string(getuid());
  for (const std::string& made : {std::string("/run/user"), folder, folder + "/pulse"}) {
    if (mkdir(made.c_str(), made == "/run/user" ? 0755 : 0700) == 0) {
      made_.push_back(made);
    } else if (errno != EEXIST) {
      error_ = "cannot make " + made + ": " + std::strerror(errno);
      return;
    }
    struct stat info {};
    if (made == folder && (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
                           info.st_uid != getuid() || (info.st_mode & 07777) != 0700)) {
      error_ = folder + " is there but not a private folder of the user's own (mode 0700)";
      return;
    }
  }
  if (symlink(soundSocket.c_str(), (folder + "/pulse/native").c_str()) != 0) {
    error_ = folder + "/pulse/native: " + std::strerror(errno) + " (a sound server is there)";
    return;
  }
  made_.push_back(folder + "/pulse/native");
}

UsersRuntimeFolder::~UsersRuntimeFolder() {
  // What the programs left in a folder made here (the music's lock) goes with it; another
  // user's folder may have come into /run/user meanwhile.
  std::error_code ignored;
  for (auto made = made_.rbegin(); made != made_.rend(); ++made)
    *made == "/run/user" ? (void)rmdir(made->c_str())
                         : (void)std::filesystem::remove_all(*made, ignored);
  if (lock_ >= 0) close(lock_);
}

}  // namespace orvane::testing
