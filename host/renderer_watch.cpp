// The renderer watch: its window once seen, its process or a time bound before that.
#include "host/renderer_watch.h"

#include "host/Orvane_B.h"
#include "host/guarded.h"

namespace orvane {

RendererWatch::RendererWatch(Platform& platform, std::chrono::milliseconds lookInterval)
    : platform_(platform), lookInterval_(lookInterval) {}

void RendererWatch::StartRenderer(const std::string& program) {
  renderer_ = platform_.process.StartProgram(program, {});
}

bool RendererWatch::RendererEnded() {
  WindowHandle window = 0;
  Guarded([&] { window = platform_.windowFinder.FindWindow(RendererWindowTitle); });
  if (window != 0) {
    windowSeen_ = true;
    return false;
  }
  if (windowSeen_) return true;
  // Not shown yet: a renderer that still runs gets until the bound to show its window.
  waited_ += lookInterval_;
  bool exited = false;
  Guarded([&] { exited = platform_.process.ProgramEnded(renderer_); });
  return exited || waited_ >= StartBound;
}

}  // namespace orvane
