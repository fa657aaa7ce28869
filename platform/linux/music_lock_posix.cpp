#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/music_lock.h"

namespace orvane {
namespace {

class FlockMusicLock final : public MusicLock {
 public:
  explicit FlockMusicLock(std::string path) : path_(std::move(path)) {}
  ~FlockMusicLock() override { Release(); }

  bool TryTake() override {
    if (held_) return true;
    // Not inherited by the programs the host starts, so that the lock dies with the host.
    if (fd_ < 0) fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    held_ = fd_ >= 0 && flock(fd_, LOCK_EX | LOCK_NB) == 0;
    return held_;
  }

  void Release() override {
    if (fd_ >= 0) close(fd_);  // closing the last descriptor releases the lock
    fd_ = -1;
    held_ = false;
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool held_ = false;
};

}  // namespace

std::unique_ptr<MusicLock> MakeFlockMusicLock(std::string path) {
  return std::make_unique<FlockMusicLock>(std::move(path));
}

}  // namespace orvane
