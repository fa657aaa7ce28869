#include "host/controls/double_click.h"

#include <cmath>

namespace orvane {

bool DoubleClickFilter::IsDoubleClick(int button, std::uint32_t timeMs, double x, double y,
                                      std::uint32_t limitMs, int limitPixels) {
  // Unsigned subtraction copes with the millisecond clock wrapping round.
  const bool second = armed_ && button == button_ && timeMs - time_ <= limitMs &&
                      std::fabs(x - x_) <= limitPixels && std::fabs(y - y_) <= limitPixels;
  armed_ = !second;
  button_ = button;
  time_ = timeMs;
  x_ = x;
  y_ = y;
  return second;
}

}  // namespace orvane
