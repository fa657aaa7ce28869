#include "host/controls/double_click.h"

#include <cmath>

namespace orvane {

bool DoubleClickFilter::IsDoubleClick(int button, std::uint32_t timeMs, double x, double y) {
  // Unsigned subtraction copes with the millisecond clock wrapping round.
  const bool second = armed_ && button == button_ && timeMs - time_ <= timeMs_ &&
                      std::fabs(x - x_) <= distance_ && std::fabs(y - y_) <= distance_;
  armed_ = !second;
  button_ = button;
  time_ = timeMs;
  x_ = x;
  y_ = y;
  return second;
}

}  // namespace orvane
