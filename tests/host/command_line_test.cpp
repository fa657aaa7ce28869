#include "host/command_line.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {
namespace {

TEST(CommandLine, JoinedWithSingleBlanks) {
  using Arguments = std::vector<const char*>;
  EXPECT_EQ(JoinArguments(Arguments{}), "");
  EXPECT_EQ(JoinArguments(Arguments{"/p", "132"}), "/p 132");
  EXPECT_EQ(JoinArguments(Arguments{"", ""}), " ");
}

// The first character may be several bytes; characters are counted, not bytes.
TEST(CommandLine, ModeLetterIsTheSecondCharacterUpperCased) {
  const std::pair<const char*, const char*> cases[] = {{"/s", "S"}, {"-s", "S"}, {"/p:132", "P"},
                                                       {"", ""},    {"/", ""},   {"s", ""},
                                                       {"  ", " "}, {"és", "S"}, {"/é", "é"}};
  for (auto [line, letter] : cases) EXPECT_EQ(ModeLetter(line), letter) << "[" << line << "]";
}

// The third character is skipped even when it is a digit, blanks are skipped wherever they
// stand, halves go to the even neighbour, and what does not fit 32 bits gives 0.
TEST(CommandLine, PreviewHandleIsReadFromTheFourthCharacter) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"/p 132", 132},      {"/p:132", 132},
      {"/p132", 32},        {"/p", 0},
      {"/p abc", 0},        {"/p 12abc", 12},
      {"/p  1 2 3", 123},   {"/p -7", -7},
      {"/p 2.5", 2},        {"/p 3.5", 4},
      {"/p 1e3", 1000},     {"/p 12e+", 12},
      {"/p 0x10", 0},       {"/p -2147483648", INT32_MIN},
      {"/p 2147483648", 0}, {"/p 1e99999999999", 0},
      {"/pé12", 12}};
  for (const auto& [line, handle] : cases) EXPECT_EQ(PreviewHandle(line), handle) << line;
  EXPECT_EQ(PreviewHandle("/p 1" + std::string(60, '0') + "e-58"), 100);
}

}  // namespace
}  // namespace orvane
