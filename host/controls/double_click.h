#pragma once

#include <cstdint>

namespace orvane {

// Tells the second press of a double click from an ordinary press, as the windowing
// system the control was made for reports it: the same button pressed again within the
// double-click time and distance, which the desktop may change while the program runs. The
// press after a double click starts afresh.
class DoubleClickFilter {
 public:
  // Call for every press, in order; true when this press completes a double click.
  bool IsDoubleClick(int button, std::uint32_t timeMs, double x, double y, std::uint32_t limitMs,
                     int limitPixels);

 private:
  bool armed_ = false;
  int button_ = 0;
  std::uint32_t time_ = 0;
  double x_ = 0, y_ = 0;
};

}  // namespace orvane
