#include "renderer/frame_loop.h"

#include <poll.h>

#include <ctime>

#include "renderer/frame_clock.h"

namespace orvane::renderer {

void runFrameLoop(FrameSource& source) {
  using Clock = FrameClock::Clock;
  FrameClock clock(Clock::now());
  while (true) {
    const bool asked = source.handleEvents();
    const bool ticked = clock.takeTick(Clock::now());
    if (asked || ticked) {
      source.drawFrames();
      continue;  // events that came meanwhile first
    }
    if (!source.prepareWait()) continue;
    // ppoll takes the wait to the nanosecond, where poll would round it up to a millisecond.
    const auto left = clock.waitFrom(Clock::now()).count();
    const timespec wait{static_cast<time_t>(left / 1000000000),
                        static_cast<long>(left % 1000000000)};
    pollfd fd{source.connection(), POLLIN, 0};
    const int ready = ppoll(&fd, 1, &wait, nullptr);
    source.finishWait(ready > 0 && (fd.revents & (POLLIN | POLLHUP | POLLERR)) != 0);
  }
}

}  // namespace orvane::renderer
