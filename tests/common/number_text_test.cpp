// The one reading of a text as a number: the settings file's, the repeat box's, a CD's current
// track and a stored property's.
#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvane::common {
namespace {

TEST(NumberText, WhatIsANumberAndWhatIsNot) {
  // clang-format off
  const std::pair<const char*, double> numbers[] = {
      {"2.9", 2.9}, {" -0.5\t", -0.5}, {"+3", 3}, {"1.", 1}, {".5", 0.5}, {"1e1", 10},
      {"2E-1", 0.2}, {"40000", 40000}, {"&HC6C5D7", 13026775}, {"&hff", 255},
      {"&HFFFFFFFF", 4294967295.0}, {"1e-400", 0}};
  // clang-format on
  for (const auto& [text, value] : numbers)
    EXPECT_EQ(ParseNumberText(text), value) << '"' << text << '"';
  EXPECT_EQ(ParseNumberText("1e400"), HUGE_VAL);
  for (const char* text : {"", " ", ".", "-", "1 2", "- 1", "1e", "e1", "0x10", "&H", "&H-1",
                           "&H100000000", "nan", "inf", "１２", "3a"})
    EXPECT_FALSE(ParseNumberText(text)) << '"' << text << '"';
}

}  // namespace
}  // namespace orvane::common
