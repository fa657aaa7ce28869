#include "tests/support/xvfb.h"

#include <poll.h>
#include <unistd.h>

namespace orvane::testing {

XServer::XServer(const std::string& program, std::vector<std::string> arguments) {
  int fds[2];
  if (pipe(fds) != 0) return;
  arguments.insert(arguments.begin(), {program, "-displayfd", std::to_string(fds[1])});
  server_ =
      std::make_unique<Child>(arguments, std::vector<std::string>{}, "/dev/null", "/dev/null");
  close(fds[1]);
  // The server writes its display number once it accepts connections.
  std::string number;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  for (char c; server_->Running() && std::chrono::steady_clock::now() < deadline;) {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (!number.empty()) display_ = ":" + number;
}

}  // namespace orvane::testing
