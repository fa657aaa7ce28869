#include "host/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane {
namespace {

std::string Join(std::vector<const char*> arguments) {
  return JoinArguments(arguments);
}

TEST(JoinArguments, RebuildsTheRawCommandLine) {
  EXPECT_EQ(Join({}), "");
  EXPECT_EQ(Join({"/s"}), "/s");
  EXPECT_EQ(Join({"/p", "132"}), "/p 132");
  EXPECT_EQ(Join({"/p:132"}), "/p:132");
  EXPECT_EQ(Join({" "}), " ");
  EXPECT_EQ(Join({""}), "");
  EXPECT_EQ(Join({"", ""}), " ");
  EXPECT_EQ(Join({"-P", "99"}), "-P 99");
}

TEST(ModeLetter, IsTheSecondCharacterUpperCased) {
  const std::pair<const char*, const char*> cases[] = {
      {"/s", "S"},
      {"/S", "S"},
      {"-s", "S"},
      {"xs", "S"},
      {"/p 132", "P"},
      {"/p:132", "P"},
      {"-P 99", "P"},
      {"/c:456", "C"},
      {"/a", "A"},
      {"", ""},
      {" ", ""},
      {"/", ""},
      {"s", ""},
      {"  ", " "},
      {"/1", "1"},
      {"\xC3\xA9s", "S"},  // the first character may be more than one byte
      {"/\xC3\xA9", "\xC3\xA9"}};
  for (auto [line, letter] : cases) EXPECT_EQ(ModeLetter(line), letter) << "[" << line << "]";
}

TEST(PreviewHandle, ReadsTheNumberFromTheFourthCharacter) {
  const std::pair<std::string, std::int32_t> cases[] = {
      {"/p 132", 132},
      {"/P 132", 132},
      {"/p:132", 132},
      {"/p132", 32},  // the third character is skipped even when it is a digit
      {"-P 99", 99},
      {"/p", 0},
      {"/p ", 0},
      {"/p abc", 0},
      {"/p 12abc", 12},
      {"/p  1 2 3", 123},  // blanks are skipped wherever they stand
      {"/p \t 42", 42},
      {"/p -7", -7},
      {"/p +7", 7},
      {"/p 2.5", 2},  // halves go to the even neighbour
      {"/p 3.5", 4},
      {"/p 1.5", 2},
      {"/p .5", 0},
      {"/p 1e3", 1000},
      {"/p 1E-1", 0},
      {"/p 12e", 12},
      {"/p 12e+", 12},
      {"/p 0x10", 0},
      {"/p .", 0},
      {"/p -", 0},
      {"/p 2147483647", 2147483647},
      {"/p -2147483648", -2147483647 - 1},
      {"/p 2147483648", 0},  // beyond 32 bits
      {"/p 99999999999999999999999999999999999999999999999999", 0},
      {"/p " + std::string(60, '0') + "77", 77},
      {"/p 1" + std::string(60, '0') + "e-58", 100},
      {"/p 1e99999999999", 0},
      {"/p\xC3\xA9"
       "12",
       12},  // characters are counted, not bytes
  };
  for (const auto& [line, handle] : cases) {
    EXPECT_EQ(PreviewHandle(line), handle) << "[" << line << "]";
  }
}

}  // namespace
}  // namespace orvane
