#pragma once

#include <memory>
#include <string>
#include <vector>

namespace orvane {

// A program the host starts and owns, as a screen-saver daemon expects of its saver: it never
// outlives the host, and the host ends and reaps it.
class OwnedProgram {
 public:
  virtual ~OwnedProgram() = default;
  // Starts program with the arguments; the system ends it when the host dies, however the host
  // dies. False when it could not be started.
  virtual bool Start(const std::string& program, const std::vector<std::string>& arguments) = 0;
  // True while the program runs; once it has ended, it is reaped here.
  virtual bool Running() = 0;
  // Asks the program to end, ends it for sure if it has not within half a second, and reaps
  // it. Nothing when it does not run.
  virtual void End() = 0;
};

// The real one: fork and exec, with the parent-death signal set to SIGKILL; with ownGroup, in a
// process group of its own.
std::unique_ptr<OwnedProgram> MakePosixOwnedProgram(bool ownGroup = false);

}  // namespace orvane
