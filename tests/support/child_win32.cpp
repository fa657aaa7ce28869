#include <stdio.h>

#include "tests/support/child.h"

namespace orvane::testing {

// Runs the command through the system's command interpreter.
std::pair<int, std::string> RunShell(const std::string& command) {
  FILE* pipe = _popen(command.c_str(), "rb");
  if (pipe == nullptr) return {-1, ""};
  std::string output;
  char buffer[4096];
  for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
  return {_pclose(pipe), output};
}

}  // namespace orvane::testing
