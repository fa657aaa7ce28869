#include "tests/support/xscreensaver.h"

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>

namespace orvane::testing {
namespace fs = std::filesystem;

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
  std::error_code ignored;
  const auto readable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  const auto searchable = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  fs::permissions(folder, readable | searchable, fs::perm_options::add, ignored);
  for (const auto& entry : fs::recursive_directory_iterator(folder, ignored)) {
    const bool runnable = entry.is_directory() ||
                          (entry.status().permissions() & fs::perms::owner_exec) != fs::perms::none;
    fs::permissions(entry.path(), runnable ? readable | searchable : readable,
                    fs::perm_options::add, ignored);
  }
}

void OpenToAll(const PulseServer& pulse) {
  std::error_code ignored;
  for (const std::string& pair : pulse.env()) {
    const fs::path value = pair.substr(pair.find('=') + 1);
    if (pair.rfind("PULSE_SERVER=unix:", 0) == 0) {
      const fs::path socket = value.string().substr(5);
      fs::permissions(socket.parent_path(), fs::perms::others_exec, fs::perm_options::add, ignored);
      fs::permissions(socket, fs::perms::all, fs::perm_options::add, ignored);
    } else if (pair.rfind("PULSE_CLIENTCONFIG=", 0) == 0) {
      fs::permissions(value, fs::perms::others_read, fs::perm_options::add, ignored);
    }
  }
}

XScreenSaver::XScreenSaver(const std::vector<std::string>& env, const std::string& program)
    : env_(env) {
  const passwd* nobody = getpwnam("nobody");
  if (nobody == nullptr) return;
  const std::string runtime = home_ / "run";
  fs::create_directory(runtime);
  WriteBytes(home_ / ".xscreensaver",
             "mode: one\nselected: 0\nlock: False\nsplash: False\nfade: False\nunfade: False\n"
             "programs: GL: " +
                 program + " \\n\n");
  for (const std::string& path : {home_.path(), runtime, home_ / ".xscreensaver"}) {
    if (chown(path.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) return;
  }
  env_.insert(env_.end(), {"HOME=" + home_.path(), "XDG_RUNTIME_DIR=" + runtime});
  daemon_ = std::make_unique<Child>(AsNobody(env_, {"xscreensaver", "-no-splash"}));
}

XScreenSaver::~XScreenSaver() {
  if (!daemon_) return;
  daemon_->Signal(SIGTERM);
  daemon_->Wait(std::chrono::seconds(3));  // the Child ends it for sure if it is still there
}

bool XScreenSaver::GiveFile(const std::string& relativePath, const std::string& bytes) {
  const passwd* nobody = getpwnam("nobody");
  const fs::path path = home_ / relativePath;
  std::error_code ignored;
  fs::create_directories(path.parent_path(), ignored);
  WriteBytes(path, bytes);
  for (fs::path part = path; part != fs::path(home_.path()); part = part.parent_path()) {
    if (nobody == nullptr || chown(part.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) return false;
  }
  return true;
}

int XScreenSaver::Command(const std::string& option) {
  Child command(AsNobody(env_, {"xscreensaver-command", option}));
  return command.Wait(std::chrono::seconds(10)).value_or(-1);
}

}  // namespace orvane::testing
