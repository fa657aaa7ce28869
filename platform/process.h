#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

// The running host process and the programs it starts.
class Process {
 public:
  // A program StartProgram started: its process id here (a process handle on Windows); 0 is none.
  using ProgramId = std::int64_t;

  virtual ~Process() = default;
  // The folder of the running executable, without a trailing "/" (except "/" itself).
  virtual std::string HostFolder() = 0;
  // Starts program (a path, or a name looked up in PATH) with the arguments, without waiting
  // for it. Its id, or 0 when the program could not be started.
  virtual ProgramId StartProgram(const std::string& program,
                                 const std::vector<std::string>& arguments) = 0;
  // True once the started program has ended (and for 0 or an id that is not ours). A check that
  // never waits; it also collects the ended program, so that no zombie is left behind.
  virtual bool ProgramEnded(ProgramId program) = 0;
  // Ends the host process at once with exit code 0: no window gets its close or unload
  // handling. The real one never returns; a fake returns, so every caller returns right after
  // calling it.
  virtual void EndProcess() = 0;
};

}  // namespace orvane
