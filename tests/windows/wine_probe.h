#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/hex.h"
#include "tests/support/programs.h"

namespace orvane::testing {

// The Windows system probe (system_probe.exe of the Windows build) under Wine, in a prefix of
// its own, fed its command lines on standard input.
class WineProbe {
 public:
  // Each command's answer line, "" for a command the probe did not answer.
  std::vector<std::string> AskEach(const std::vector<std::string>& commands) {
    std::string text;
    for (const std::string& command : commands) text += command + "\n";
    WriteBytes(folder_ / "commands", text);
    const Programs programs(Build::Windows, std::string());
    const auto [code, out] =
        programs.Run("wine '" ORVANE_SYSTEM_PROBE "' <'" + folder_ / "commands" + "'");
    errors_ = "the probe ended with " + std::to_string(code);
    std::vector<std::string> answers;
    std::istringstream lines(out);
    // A Windows program's standard output is in text mode: its lines end in CRLF.
    for (std::string line; answers.size() < commands.size() && std::getline(lines, line);)
      answers.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
    answers.resize(commands.size());
    return answers;
  }
  // How the last run ended, for failure messages.
  std::string Errors() const { return errors_; }

 private:
  TempFolder folder_;
  std::string errors_;
};

}  // namespace orvane::testing
