#include "tests/support/xvfb.h"

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "tests/support/child.h"

namespace orvane::testing {

Xvfb::Xvfb(int width, int height, int dpi) {
  int fds[2];
  if (pipe(fds) != 0) return;
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  pid_ = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-dpi",
                std::to_string(dpi), "-nolisten", "tcp", "-noreset"},
               {}, "/dev/null", "/dev/null");
  close(fds[1]);
  // Xvfb writes its display number once it accepts connections.
  std::string number;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (!number.empty()) display_ = ":" + number;
}

Xvfb::~Xvfb() {
  End(pid_);
}

}  // namespace orvane::testing
