#include "host/controls/double_click.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(DoubleClickFilter, SecondPressOfTheSameButtonSoonAndNearIsADoubleClick) {
  DoubleClickFilter f(400, 4);
  EXPECT_FALSE(f.IsDoubleClick(1, 1000, 10, 10));
  EXPECT_TRUE(f.IsDoubleClick(1, 1200, 12, 9));
  // The third press starts afresh, the fourth completes another double click.
  EXPECT_FALSE(f.IsDoubleClick(1, 1300, 12, 9));
  EXPECT_TRUE(f.IsDoubleClick(1, 1350, 12, 9));
}

TEST(DoubleClickFilter, TooLateTooFarOrAnotherButtonIsAnOrdinaryPress) {
  DoubleClickFilter f(400, 4);
  EXPECT_FALSE(f.IsDoubleClick(1, 1000, 10, 10));
  EXPECT_FALSE(f.IsDoubleClick(1, 1401, 10, 10));
  EXPECT_FALSE(f.IsDoubleClick(1, 1500, 15, 10));
  EXPECT_FALSE(f.IsDoubleClick(3, 1600, 15, 10));
  EXPECT_TRUE(f.IsDoubleClick(3, 1700, 15, 10));
  // The millisecond clock wrapping round.
  EXPECT_FALSE(f.IsDoubleClick(1, 0xFFFFFF00u, 0, 0));
  EXPECT_TRUE(f.IsDoubleClick(1, 0x10u, 0, 0));
}

}  // namespace
}  // namespace orvane
