#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/saver_lock.h"

namespace orvane {
namespace {

class FlockSaverLock final : public SaverLock {
 public:
  explicit FlockSaverLock(std::string path) : path_(std::move(path)) {}
  ~FlockSaverLock() override {
    if (fd_ >= 0) close(fd_);
  }

  Take TryTake() override {
    if (fd_ >= 0) return Take::Taken;
    // Not inherited by the renderer, so that the lock goes with the host alone.
    const int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return Take::Unavailable;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      close(fd);
      return Take::HeldElsewhere;
    }
    fd_ = fd;
    return Take::Taken;
  }

  bool HeldElsewhere() override {
    if (fd_ >= 0) return false;
    // Opened without creating it: on a session where no saver ever ran, nothing is left.
    const int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0;
    close(fd);  // and with it the shared lock just taken
    return held;
  }

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace

std::unique_ptr<SaverLock> MakeFlockSaverLock(std::string path) {
  return std::make_unique<FlockSaverLock>(std::move(path));
}

}  // namespace orvane
