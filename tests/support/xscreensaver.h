#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/support/child.h"
#include "tests/support/pulse.h"
#include "tests/support/temp_folder.h"

namespace orvane::testing {

// argv run as the unprivileged user nobody (xscreensaver starts no saver as root), in an
// environment of only PATH and the NAME=value pairs given.
std::vector<std::string> AsNobody(const std::vector<std::string>& env,
                                  std::vector<std::string> argv);
// Lets every user read (and run) what lies in folder, or reach the PulseAudio daemon's socket.
void OpenToAll(const std::string& folder);
void OpenToAll(const PulseServer& pulse);

// A real xscreensaver daemon of the test's own, run as nobody with a throwaway HOME (and
// XDG_RUNTIME_DIR in it) whose .xscreensaver offers one program alone, with locking, fading and
// the splash off. env: NAME=value pairs for the daemon and its programs (DISPLAY...). The
// destructor ends exactly this daemon, by its id.
class XScreenSaver {
 public:
  XScreenSaver(const std::vector<std::string>& env, const std::string& program);
  bool running() { return daemon_ && daemon_->Running(); }
  // xscreensaver-command with the option ("-activate"...) as the daemon's user; its exit code.
  int Command(const std::string& option);
  std::string Log() const { return daemon_ ? daemon_->Stderr() : ""; }
  // Writes a file of the daemon's user into its HOME.
  bool GiveFile(const std::string& relativePath, const std::string& bytes);

 private:
  TempFolder home_;
  std::vector<std::string> env_;
  std::unique_ptr<Child> daemon_;
};

}  // namespace orvane::testing
