// Wine's profile functions against the table of INI cases our model's test reads too.
#include <gtest/gtest.h>

#include "tests/host/ini_cases.h"
#include "tests/windows/wine_probe.h"

namespace orvane::testing {
namespace {

TEST(WineDifferences, ProfileReadsAndWrites) {
  TempFolder folder;
  // A probe command: the verb, then the file's Windows name and the texts in hexadecimal.
  const auto line = [&](const std::string& verb, const std::string& file,
                        const std::vector<std::string>& texts) {
    std::string command = verb + " " + Hex(WindowsPath(folder / file));
    for (const std::string& text : texts) command += " " + Hex(text);
    return command;
  };
  std::vector<std::string> commands;
  for (std::size_t i = 0; i < std::size(kReads); ++i) {
    if (kReads[i].file) WriteBytes(folder / ("read" + std::to_string(i)), *kReads[i].file);
    commands.push_back(
        line("read", "read" + std::to_string(i), {kReads[i].section, kReads[i].key}));
  }
  for (std::size_t i = 0; i < std::size(kWrites); ++i) {
    const WriteCase& c = kWrites[i];
    if (c.before) WriteBytes(folder / ("write" + std::to_string(i)), *c.before);
    commands.push_back(line("write", "write" + std::to_string(i), {c.section, c.key, c.value}));
  }
  WineProbe probe;
  const std::vector<std::string> answers = probe.AskEach(commands);
  ASSERT_FALSE(answers.back().empty()) << probe.Errors();
  for (std::size_t i = 0; i < std::size(kReads); ++i) {
    const std::string wine = kReads[i].wine.value_or(kReads[i].windows);
    EXPECT_EQ(answers[i], std::to_string(wine.size()) + " " + Hex(wine)) << kReads[i].what;
  }
  for (std::size_t i = 0; i < std::size(kWrites); ++i) {
    EXPECT_EQ(answers[std::size(kReads) + i], "1") << kWrites[i].what;
    EXPECT_EQ(ReadBytes(folder / ("write" + std::to_string(i))),
              kWrites[i].wine.value_or(kWrites[i].windows))
        << kWrites[i].what;
  }
}

}  // namespace
}  // namespace orvane::testing
