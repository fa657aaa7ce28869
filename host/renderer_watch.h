#pragma once

#include <chrono>
#include <string>

#include "platform/platform.h"

namespace orvane {

// Tells, one look at a time, whether the renderer the host started has ended. Once its window
// "Orvane_VC" has been seen, that window alone tells. Before then (a busy machine may take
// seconds to show it) only the end of the started process, or a long wait, does. The host never
// signals or waits for the renderer: each look is a window search and a check that never waits.
class RendererWatch {
 public:
  // How long a renderer that runs may take to show its window.
  static constexpr std::chrono::milliseconds StartBound{10000};

  // lookInterval: the time between two looks, by which the watch counts the wait.
  RendererWatch(Platform& platform, std::chrono::milliseconds lookInterval);

  // Starts program with no arguments, without waiting, and follows that process.
  void StartRenderer(const std::string& program);
  // One look: true when the renderer has ended (or never started).
  bool RendererEnded();

 private:
  Platform& platform_;
  std::chrono::milliseconds lookInterval_;
  std::chrono::milliseconds waited_{0};
  Process::ProgramId renderer_ = 0;
  bool windowSeen_ = false;
};

}  // namespace orvane
