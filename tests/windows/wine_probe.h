#pragma once

#include <string>
#include <vector>

#include "tests/support/programs.h"

namespace orvane::testing {

// The Windows system probe (system_probe.exe of the Windows build) under Wine, in a prefix of
// its own, fed its command lines on standard input.
class WineProbe {
 public:
  // Each command's answer line, "" for a command the probe did not answer.
  std::vector<std::string> AskEach(const std::vector<std::string>& commands);
  // How the last run ended, for failure messages.
  std::string Errors() const { return errors_; }

 private:
  TempFolder folder_;
  std::string errors_;
};

}  // namespace orvane::testing
