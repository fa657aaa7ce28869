#pragma once

#include <sys/types.h>

#include <string>

namespace orvane::testing {

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
