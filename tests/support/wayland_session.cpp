#include "tests/support/wayland_session.h"

#include <png.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr char kUserName[] = "orvane-wayland";

constexpr char kSwayConfig[] =
    "xwayland enable\n"
    "output * mode 640x480\n"
    "output HEADLESS-1 position 0 0\n"
    "output HEADLESS-2 position 640 0\n"
    "output HEADLESS-3 position 1280 0\n"
    "default_border none\n";

// A PNG, as grim and weston-screenshooter write it.
Screenshot ReadPng(const std::string& bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return {};
  image.format = PNG_FORMAT_RGB;
  Screenshot shot{int(image.width), int(image.height),
                  std::vector<Rgb>(std::size_t(image.width) * image.height)};
  // It frees the image, read or not.
  if (!png_image_finish_read(&image, nullptr, shot.pixels.data(), 0, nullptr)) return {};
  return shot;
}

// The first entry of folder whose name starts with prefix and is not a lock file; "" if none.
std::string FindEntry(const std::string& folder, const std::string& prefix) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(prefix) && !name.ends_with(".lock")) return name;
  }
  return "";
}

}  // namespace

WaylandSession::WaylandSession(Compositor compositor) : compositor_(compositor) {
  uid_ = geteuid(), gid_ = getegid();
  // Another test may be making the user at the same moment: useradd then fails, or waits for
  // the lock on the password file, and the user is there afterwards either way.
  for (int attempt = 0; uid_ == 0 && !switched_ && attempt < 20; ++attempt) {
    if (const passwd* found = getpwnam(kUserName)) {
      uid_ = found->pw_uid, gid_ = found->pw_gid, switched_ = true;
    } else {
      RunShell(std::string("useradd -m -s /usr/sbin/nologin ") + kUserName + " >/dev/null 2>&1");
      if (getpwnam(kUserName) == nullptr) std::this_thread::sleep_for(100ms);
    }
  }
  const std::string runtime = folder_ / "run";
  chmod(folder_.path().c_str(), 0755);
  if ((geteuid() == 0 && !switched_) || mkdir(runtime.c_str(), 0700) != 0 ||
      mkdir(home().c_str(), 0700) != 0 || !GiveToUser(runtime) || !GiveToUser(home()))
    return;
  // XWayland's sockets go there; a chroot may lack the folder.
  if (mkdir("/tmp/.X11-unix", 01777) == 0) chmod("/tmp/.X11-unix", 01777);
  env_ = {"PATH=/usr/local/bin:/usr/bin:/bin", "HOME=" + home(), "XDG_RUNTIME_DIR=" + runtime,
          "LANG=C.UTF-8"};
  const bool sway = compositor == Compositor::Sway;
  std::vector<std::string> argv = {"weston",       "--backend=headless-backend.so",
                                   "--use-gl",     "--debug",
                                   "--width=640",  "--height=480",
                                   "--idle-time=0"},
                           env;
  if (sway) {
    WriteBytes(folder_ / "sway.config", kSwayConfig);
    chmod((folder_ / "sway.config").c_str(), 0644);
    argv = {"sway", "-c", folder_ / "sway.config"};
    env = {"WLR_BACKENDS=headless", "WLR_RENDERER=pixman", "WLR_LIBINPUT_NO_DEVICES=1",
           "WLR_HEADLESS_OUTPUTS=2"};
    // sway listens there when the socket does not exist yet.
    env_.push_back("SWAYSOCK=" + runtime + "/sway.sock");
  }
  compositorProcess_ = std::make_unique<Child>(AsUser(argv, env), std::vector<std::string>{},
                                               "/dev/null", folder_ / "compositor.log");
  Child& server = *compositorProcess_;
  std::string socket;
  const auto listening = [&] {
    socket = FindEntry(runtime, "wayland-");
    return (!socket.empty() && (!sway || fs::exists(runtime + "/sway.sock"))) || !server.Running();
  };
  if (!WaitFor(listening, 30s) || !server.Running()) return;
  env_.push_back("WAYLAND_DISPLAY=" + socket);
  // Ready: weston once it gives a screenshot, sway once it shows both outputs.
  const auto up = [&] {
    return !server.Running() ||
           (sway ? Run({"swaymsg", "-p", "-t", "get_outputs"}).second.find("Output HEADLESS-2") !=
                       std::string::npos
                 : Shot(0, 0, 640, 480).valid());
  };
  if (!WaitFor(up, 30s, 100ms) || !server.Running()) return;
  // XWayland's display: the X lock file that names the compositor's id (wlroots takes the
  // display's sockets at start, and starts the server itself when a client comes).
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/tmp", error)) {
    const std::string name = entry.path().filename().string();
    if (sway && name.starts_with(".X") && name.ends_with("-lock") &&
        std::atoi(ReadBytes(entry.path().string()).c_str()) == server.pid())
      env_.push_back("DISPLAY=:" + name.substr(2, name.size() - 7));
  }
  ready_ = true;
}

std::vector<std::string> WaylandSession::AsUser(const std::vector<std::string>& argv,
                                                const std::vector<std::string>& env) const {
  // Every step execs, so the id is argv's; changing the user clears the death signal that
  // Child set, so setpriv sets it again.
  std::vector<std::string> all;
  if (switched_)
    all = {"setpriv", "--reuid=" + std::to_string(uid_), "--regid=" + std::to_string(gid_),
           "--init-groups", "--pdeathsig=keep"};
  all.insert(all.end(), {"env", "-i"});
  all.insert(all.end(), env_.begin(), env_.end());
  all.insert(all.end(), env.begin(), env.end());
  all.insert(all.end(), argv.begin(), argv.end());
  return all;
}

Screenshot WaylandSession::Shot(int x, int y, int width, int height, int scale) const {
  if (compositor_ == Compositor::Sway) {
    const auto [code, bytes] = Run({"grim", "-g",
                                    std::to_string(x) + "," + std::to_string(y) + " " +
                                        std::to_string(width) + "x" + std::to_string(height),
                                    "-s", std::to_string(scale), "-"});
    return code == 0 ? ReadPng(bytes) : Screenshot{};
  }
  // weston-screenshooter writes a PNG into the folder it runs in.
  const std::string shots = folder_ / "shots";
  std::error_code ignored;
  fs::remove_all(shots, ignored);
  if (mkdir(shots.c_str(), 0700) != 0 || !GiveToUser(shots) ||
      Run({"sh", "-c", "cd '" + shots + "' && weston-screenshooter"}).first != 0)
    return {};
  const std::string file = FindEntry(shots, "");
  return file.empty() ? Screenshot{} : ReadPng(ReadBytes(shots + "/" + file));
}

}  // namespace orvane::testing
