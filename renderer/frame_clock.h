#pragma once

#include <chrono>

namespace orvane::renderer {

// The renderer's 20 ms frame timer as a row of deadlines, each 20 ms after the one before it
// rather than after the moment its tick was noticed, so that noticing and drawing do not
// stretch the period. A tick noticed late is one frame: the deadlines it overslept are
// skipped, not drawn one after another.
class FrameClock {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kPeriod{20};

  explicit FrameClock(Clock::time_point start) : deadline_(start + kPeriod) {}

  // True when a tick is due at now; the next deadline then lies after now, on the same 20 ms
  // grid.
  bool takeTick(Clock::time_point now);
  // How long to wait from now for the next tick, to the nanosecond; zero when it is due.
  std::chrono::nanoseconds waitFrom(Clock::time_point now) const;
  Clock::time_point deadline() const { return deadline_; }

 private:
  Clock::time_point deadline_;
};

}  // namespace orvane::renderer
