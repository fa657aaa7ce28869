#include "tests/support/run_user.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

namespace orvane::testing {

UsersRuntimeFolder::UsersRuntimeFolder(const std::string& soundSocket) {
  lock_ = open("/run", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (lock_ >= 0 && flock(lock_, LOCK_EX | LOCK_NB) != 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      error_ = "another test has held /run/user for a minute";
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  if (lock_ < 0) {
    error_ = std::string("/run: ") + std::strerror(errno);
    return;
  }
  const std::string folder = "/run/user/" + std::to_string(getuid());
  if (!Make("/run/user", 0755) || !Make(folder, 0700)) return;
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
      (info.st_mode & 07777) != 0700) {
    error_ = folder + " is there but not a private folder of the user's own (mode 0700)";
    return;
  }
  if (!Make(folder + "/pulse", 0700)) return;
  const std::string link = folder + "/pulse/native";
  if (symlink(soundSocket.c_str(), link.c_str()) != 0) {
    error_ = link + ": " + std::strerror(errno) + " (a sound server of the user's own is there)";
    return;
  }
  made_.push_back(link);
}

bool UsersRuntimeFolder::Make(const std::string& folder, int mode) {
  if (mkdir(folder.c_str(), mode) == 0) {
    made_.push_back(folder);
    return true;
  }
  if (errno == EEXIST) return true;
  error_ = "cannot make " + folder + ": " + std::strerror(errno);
  return false;
}

UsersRuntimeFolder::~UsersRuntimeFolder() {
  // What the programs left in a folder made here (the music's lock) goes with it.
  std::error_code ignored;
  for (auto made = made_.rbegin(); made != made_.rend(); ++made) {
    if (*made == "/run/user") {
      rmdir(made->c_str());  // another user's folder may have come meanwhile
    } else {
      std::filesystem::remove_all(*made, ignored);
    }
  }
  if (lock_ >= 0) close(lock_);
}

}  // namespace orvane::testing
