#include "tests/windows/wine_probe.h"

#include <sstream>

namespace orvane::testing {

std::vector<std::string> WineProbe::AskEach(const std::vector<std::string>& commands) {
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

}  // namespace orvane::testing
