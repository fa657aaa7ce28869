#include "tests/support/xvfb.h"

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/child.h"

namespace orvane::testing {

std::string StartDisplayServer(const std::string& program, std::vector<std::string> arguments,
                               pid_t* pid) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  arguments.insert(arguments.begin(), {program, "-displayfd", std::to_string(fds[1])});
  *pid = Spawn(arguments, {}, "/dev/null", "/dev/null");
  close(fds[1]);
  // The server writes its display number once it accepts connections.
  std::string number;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (*pid > 0 && std::chrono::steady_clock::now() < deadline) {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  return number.empty() ? std::string() : ":" + number;
}

Xvfb::Xvfb(int width, int height, int dpi) {
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  display_ = StartDisplayServer(
      "Xvfb", {"-screen", "0", screen, "-dpi", std::to_string(dpi), "-nolisten", "tcp", "-noreset"},
      &pid_);
}

Xvfb::~Xvfb() {
  End(pid_);
}

}  // namespace orvane::testing
