// Wine's profile functions against the table of INI cases our model's test reads too.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/host/ini_cases.h"
#include "tests/support/hex.h"
#include "tests/support/programs.h"

namespace orvane::testing {
namespace {

TEST(WineDifferences, ProfileReadsAndWrites) {
  TempFolder folder;
  // One run of the profile tool a case, in one script, each read answering on a line of its own.
  std::string script;
  const auto run = [&](const std::string& verb, const std::string& file,
                       const std::vector<std::string>& texts) {
    script += "wine '" ORVANE_WINDOWS_TEST_PROGRAMS "/profile_tool.exe' " + verb + " '" +
              WindowsPath(folder / file) + "'";
    for (const std::string& text : texts) script += " " + Hex(text);
    script += "; echo; ";
  };
  for (std::size_t i = 0; i < std::size(kReads); ++i) {
    if (kReads[i].file) WriteBytes(folder / ("read" + std::to_string(i)), *kReads[i].file);
    run("read", "read" + std::to_string(i), {kReads[i].section, kReads[i].key});
  }
  for (std::size_t i = 0; i < std::size(kWrites); ++i) {
    const WriteCase& c = kWrites[i];
    if (c.before) WriteBytes(folder / ("write" + std::to_string(i)), *c.before);
    run("write", "write" + std::to_string(i), {c.section, c.key, c.value});
  }
  const Programs programs(Build::Windows, std::string());
  WriteBytes(folder / "cases.sh", script);
  const std::string out = programs.Run("sh '" + folder / "cases.sh" + "'").second;
  std::istringstream lines(out);
  for (std::size_t i = 0; i < std::size(kReads); ++i) {
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, Hex(kReads[i].wine.value_or(kReads[i].windows))) << kReads[i].what;
  }
  for (std::size_t i = 0; i < std::size(kWrites); ++i)
    EXPECT_EQ(ReadBytes(folder / ("write" + std::to_string(i))),
              kWrites[i].wine.value_or(kWrites[i].windows))
        << kWrites[i].what;
}

}  // namespace
}  // namespace orvane::testing
