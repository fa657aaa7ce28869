#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace orvane {

// How a started program relates to the host.
enum class ProgramTie {
  // Dies with the host, even when the host is killed; the path is used as given (execv).
  DiesWithHost,
  // As DiesWithHost, in a process group of its own.
  DiesWithHostOwnGroup,
  // Its own session, so that it outlives the host; the program is looked for on PATH (execvp).
  OwnSession,
};

// Forks and execs program with the arguments, the child's signal mask and dispositions reset.
// The child's pid once the exec has succeeded; -1 when it could not be started (a child whose
// exec failed is reaped here).
pid_t ForkExec(const std::string& program, const std::vector<std::string>& arguments,
               ProgramTie tie);

}  // namespace orvane
