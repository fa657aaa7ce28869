#pragma once

#include <chrono>
#include <functional>

#include "platform/timers.h"

namespace orvane {

// A timer of one of the host's windows: an interval and a running state its owner switches.
class WindowTimer {
 public:
  WindowTimer(Timers& timers, std::chrono::milliseconds interval, std::function<void()> tick)
      : timers_(timers), interval_(interval), tick_(std::move(tick)) {}
  ~WindowTimer() { Stop(); }
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;

  // Starting a running timer leaves it as it is.
  void Start() {
    if (id_ == 0) id_ = timers_.StartTimer(interval_, tick_);
  }
  void Stop() {
    if (id_ == 0) return;
    const Timers::TimerId id = id_;
    id_ = 0;
    timers_.StopTimer(id);
  }
  bool running() const { return id_ != 0; }

 private:
  Timers& timers_;
  std::chrono::milliseconds interval_;
  std::function<void()> tick_;
  Timers::TimerId id_ = 0;
};

}  // namespace orvane
