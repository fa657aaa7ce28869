#include "tests/support/xscreensaver.h"

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
  const std::string folder = std::filesystem::path(pulse.socket()).parent_path();
  RunShell("chmod o+x '" + folder + "' && chmod a+rwx '" + pulse.socket() + "' && chmod o+r '" +
           folder + "/client.conf'");
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
