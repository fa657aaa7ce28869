#pragma once

#include <string>
#include <vector>

namespace orvane {

// The running host process and the programs it starts.
class Process {
 public:
  virtual ~Process() = default;
  // The folder of the running executable, without a trailing "/" (except "/" itself).
  virtual std::string HostFolder() = 0;
  // Starts program (a path, or a name looked up in PATH) with the arguments, without waiting
  // and without leaving a zombie behind. True when the program was started.
  virtual bool StartProgram(const std::string& program,
                            const std::vector<std::string>& arguments) = 0;
  // Ends the host process at once with exit code 0: no window gets its close or unload
  // handling. The real one never returns; a fake returns, so every caller returns right after
  // calling it.
  virtual void EndProcess() = 0;
};

}  // namespace orvane
