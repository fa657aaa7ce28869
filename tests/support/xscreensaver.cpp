#include "tests/support/xscreensaver.h"

#include <signal.h>

#include <filesystem>

namespace orvane::testing {

std::vector<std::string> AsNobody(const std::vector<std::string>& env,
                                  std::vector<std::string> argv) {
  std::vector<std::string> all = {
      "setpriv", "--reuid=nobody",    "--regid=nogroup", "--clear-groups", "env",
      "-i",      "PATH=/usr/bin:/bin"};
  all.insert(all.end(), env.begin(), env.end());
  all.insert(all.end(), argv.begin(), argv.end());
  return all;
}

void OpenToAll(const std::string& folder) {
  RunShell("chmod -R a+rX '" + folder + "'");
}

void OpenToAll(const PulseServer& pulse) {
  for (const std::string& pair : pulse.env()) {
    const std::string value = pair.substr(pair.find('=') + 1);
    if (pair.starts_with("PULSE_SERVER=unix:"))
      RunShell("chmod o+x \"$(dirname '" + value.substr(5) + "')\" && chmod a+rwx '" +
               value.substr(5) + "'");
    else if (pair.starts_with("PULSE_CLIENTCONFIG="))
      RunShell("chmod o+r '" + value + "'");
  }
}

XScreenSaver::XScreenSaver(const std::vector<std::string>& env, const std::string& program)
    : env_(env) {
  std::filesystem::create_directory(home_ / "run");
  if (!GiveFile(".xscreensaver",
                "mode: one\nselected: 0\nlock: False\nsplash: False\nfade: False\nunfade: False\n"
                "programs: GL: " +
                    program + " \\n\n"))
    return;
  env_.insert(env_.end(), {"HOME=" + home_.path(), "XDG_RUNTIME_DIR=" + home_ / "run"});
  daemon_ = std::make_unique<Child>(AsNobody(env_, {"xscreensaver", "-no-splash"}));
}

XScreenSaver::~XScreenSaver() {
  if (!daemon_) return;
  daemon_->Signal(SIGTERM);
  daemon_->Wait(std::chrono::seconds(3));  // the Child ends it for sure if it is still there
}

bool XScreenSaver::GiveFile(const std::string& relativePath, const std::string& bytes) {
  const std::filesystem::path path = home_ / relativePath;
  std::filesystem::create_directories(path.parent_path());
  WriteBytes(path, bytes);
  return RunShell("chown -R nobody:nogroup '" + home_.path() + "'").first == 0;
}

int XScreenSaver::Command(const std::string& option) {
  Child command(AsNobody(env_, {"xscreensaver-command", option}));
  return command.Wait(std::chrono::seconds(10)).value_or(-1);
}

}  // namespace orvane::testing
