#pragma once

#include <memory>
#include <string>

namespace orvane {

// The one saver of a user's Wayland session. A saver there has no window that another start
// could find by its title, so the running saver holds this lock instead; the system releases
// it when the saver's process dies, however it dies.
class SaverLock {
 public:
  enum class Take {
    Taken,          // this process holds the lock now
    HeldElsewhere,  // another process holds it: a saver runs
    Unavailable,    // the lock's file cannot be opened: no saver can be told from none
  };

  virtual ~SaverLock() = default;
  // Takes the lock without waiting (Taken again when this process holds it already).
  virtual Take TryTake() = 0;
  // True while another process holds the lock. Leaves no file behind when there is none.
  virtual bool HeldElsewhere() = 0;
};

// The real one: flock on the file at path, made private to the user when missing.
std::unique_ptr<SaverLock> MakeFlockSaverLock(std::string path);

}  // namespace orvane
