#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace orvane::testing {

// Starts an X server (program, then -displayfd, then the arguments) and waits until it takes
// connections; its display as ":N", or empty when it did not start. *pid is its process id.
std::string StartDisplayServer(const std::string& program, std::vector<std::string> arguments,
                               pid_t* pid);

// An Xvfb server of the test's own, on the first free display number (-displayfd),
// at 96 dpi. The destructor ends exactly this server, by its process id.
class Xvfb {
 public:
  explicit Xvfb(int width = 1024, int height = 768, int dpi = 96);
  ~Xvfb();
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;

  // ":N", for DISPLAY.
  const std::string& display() const { return display_; }
  bool running() const { return pid_ > 0 && !display_.empty(); }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace orvane::testing
