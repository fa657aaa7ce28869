#pragma once

#include <memory>
#include <string>

namespace orvane {

// One music for all the savers a user's daemon runs at once (one per monitor): only the
// holder of this lock plays. The system releases it when its holder dies.
class MusicLock {
 public:
  virtual ~MusicLock() = default;
  // True when this process holds the lock now (taken now or before); never waits.
  virtual bool TryTake() = 0;
  virtual void Release() = 0;
};

// The real one: flock on the file at path, made private to the user when missing. A lock
// that cannot be opened is never taken.
std::unique_ptr<MusicLock> MakeFlockMusicLock(std::string path);

}  // namespace orvane
