#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/support/child.h"

namespace orvane::testing {

// An X server of the test's own (program, then -displayfd, then the arguments) on the first free
// display number, ready for connections. The destructor ends exactly this server, by its id.
class XServer {
 public:
  XServer(const std::string& program, std::vector<std::string> arguments);
  // ":N", for DISPLAY.
  const std::string& display() const { return display_; }
  bool running() const { return !display_.empty(); }

 private:
  std::unique_ptr<Child> server_;
  std::string display_;
};

// Xvfb at width × height, depth 24, 96 dpi.
struct Xvfb : XServer {
  explicit Xvfb(int width = 1024, int height = 768)
      : XServer("Xvfb",
                {"-screen", "0", std::to_string(width) + "x" + std::to_string(height) + "x24",
                 "-dpi", "96", "-nolisten", "tcp", "-noreset"}) {}
};

}  // namespace orvane::testing
