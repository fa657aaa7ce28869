#include "renderer/frame_clock.h"

namespace orvane::renderer {

bool FrameClock::takeTick(Clock::time_point now) {
  if (now < deadline_) return false;
  deadline_ += kPeriod;
  if (deadline_ <= now) deadline_ += kPeriod * ((now - deadline_) / kPeriod + 1);
  return true;
}

std::chrono::nanoseconds FrameClock::waitFrom(Clock::time_point now) const {
  return now < deadline_ ? std::chrono::nanoseconds(deadline_ - now) : std::chrono::nanoseconds(0);
}

}  // namespace orvane::renderer
