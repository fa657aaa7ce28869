#pragma once

#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/child.h"

namespace orvane::testing {

// An X server of the test's own (program, then -displayfd, then the arguments) on the first free
// display number, ready for connections.
class XServer {
 public:
  XServer(const std::string& program, std::vector<std::string> arguments) {
    int fds[2];
    if (pipe(fds) != 0) return;
    arguments.insert(arguments.begin(), {program, "-displayfd", std::to_string(fds[1])});
    server_ =
        std::make_unique<Child>(arguments, std::vector<std::string>{}, "/dev/null", "/dev/null");
    close(fds[1]);
    // The server writes its display number once it accepts connections, or dies and closes it.
    pollfd written{fds[0], POLLIN, 0};
    char number[16] = {};
    if (poll(&written, 1, 30000) > 0 && read(fds[0], number, sizeof number - 1) > 0)
      display_ = ":" + std::to_string(std::atoi(number));
    close(fds[0]);
  }
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
