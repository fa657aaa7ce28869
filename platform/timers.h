#pragma once

#include <chrono>
#include <functional>

namespace orvane {

// Window timers: periodic ticks on the host's one UI thread (the GLib main loop).
class Timers {
 public:
  using TimerId = unsigned int;
  virtual ~Timers() = default;
  // Calls tick every interval until Stop. Never returns 0.
  virtual TimerId StartTimer(std::chrono::milliseconds interval, std::function<void()> tick) = 0;
  // Stops the timer; unknown or already stopped ids are ignored. A tick may stop its own timer.
  virtual void StopTimer(TimerId id) = 0;
};

}  // namespace orvane
