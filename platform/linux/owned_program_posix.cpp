#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/linux/fork_exec.h"
#include "platform/owned_program.h"

namespace orvane {
namespace {

constexpr auto kGrace = std::chrono::milliseconds(500);

class PosixOwnedProgram final : public OwnedProgram {
 public:
  explicit PosixOwnedProgram(ProgramTie tie) : tie_(tie) {}
  ~PosixOwnedProgram() override { End(); }

  bool Start(const std::string& program, const std::vector<std::string>& arguments) override {
    if (pid_ > 0) return false;
    pid_ = ForkExec(program, arguments, tie_);
    return pid_ > 0;
  }

  bool Running() override {
    if (pid_ <= 0) return false;
    const pid_t got = waitpid(pid_, nullptr, WNOHANG);
    if (got == 0) return true;
    if (got < 0 && errno == EINTR) return true;
    pid_ = -1;
    return false;
  }

  void End() override {
    if (!Running()) return;
    kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kGrace;
    while (Running() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
  }

 private:
  ProgramTie tie_;
  pid_t pid_ = -1;
};

}  // namespace

std::unique_ptr<OwnedProgram> MakePosixOwnedProgram(bool ownGroup) {
  return std::make_unique<PosixOwnedProgram>(ownGroup ? ProgramTie::DiesWithHostOwnGroup
                                                      : ProgramTie::DiesWithHost);
}

}  // namespace orvane
