#include "tests/support/wayland_session.h"

#include <png.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <thread>

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
    "default_border none\n";

// argv as the user in an environment of env alone; every step execs, so the id is argv's.
std::vector<std::string> AsUser(const SessionUser& user, const std::vector<std::string>& env,
                                const std::vector<std::string>& argv, bool dieWithTest = false,
                                const std::string& folder = "") {
  std::vector<std::string> all;
  if (user.switched) {
    all = {"setpriv", "--reuid=" + std::to_string(user.uid), "--regid=" + std::to_string(user.gid),
           "--init-groups"};
    // Changing the user clears the death signal that Spawn set; setpriv sets it again.
    if (dieWithTest) all.push_back("--pdeathsig=keep");
  }
  all.insert(all.end(), {"env", "-i"});
  if (!folder.empty()) all.push_back("--chdir=" + folder);
  all.insert(all.end(), env.begin(), env.end());
  all.insert(all.end(), argv.begin(), argv.end());
  return all;
}

bool Chown(const std::string& path, const SessionUser& user) {
  return !user.switched || lchown(path.c_str(), user.uid, user.gid) == 0;
}

// A binary PPM (P6, maxval 255) as grim writes it.
Screenshot ParsePpm(const std::string& bytes) {
  Screenshot shot;
  std::istringstream in(bytes);
  std::string magic;
  int width = 0, height = 0, maxval = 0;
  if (!(in >> magic >> width >> height >> maxval) || magic != "P6" || maxval != 255 || width <= 0 ||
      height <= 0 || in.get() == EOF)
    return shot;
  const auto offset = static_cast<std::size_t>(in.tellg());
  const std::size_t count = static_cast<std::size_t>(width) * height;
  if (bytes.size() < offset + 3 * count) return shot;
  shot.width = width, shot.height = height;
  shot.pixels.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data() + offset + 3 * i);
    shot.pixels[i] = {p[0], p[1], p[2]};
  }
  return shot;
}

Screenshot ReadPng(const std::string& path) {
  Screenshot shot;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return shot;
  image.format = PNG_FORMAT_RGB;
  std::vector<Rgb> pixels(static_cast<std::size_t>(image.width) * image.height);
  static_assert(sizeof(Rgb) == 3);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return shot;
  }
  shot.width = static_cast<int>(image.width), shot.height = static_cast<int>(image.height);
  shot.pixels = std::move(pixels);
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

// XWayland's display: the X lock file that names the compositor's id (wlroots takes the
// display's sockets at start, and starts the server itself when a client comes).
std::string XwaylandDisplay(pid_t compositor) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/tmp", error)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(".X") || !name.ends_with("-lock")) continue;
    if (std::atoi(ReadBytes(entry.path().string()).c_str()) == compositor)
      return ":" + name.substr(2, name.size() - 7);
  }
  return "";
}

}  // namespace

std::optional<SessionUser> WaylandUser() {
  if (geteuid() != 0) return SessionUser{geteuid(), getegid(), false};
  // Another test may be making the user at the same moment: useradd then fails, or waits for
  // the lock on the password file, and the user is there afterwards either way.
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (const passwd* found = getpwnam(kUserName))
      return SessionUser{found->pw_uid, found->pw_gid, true};
    RunShell(std::string("useradd -m -s /usr/sbin/nologin ") + kUserName + " >/dev/null 2>&1");
    if (getpwnam(kUserName) == nullptr) std::this_thread::sleep_for(100ms);
  }
  return std::nullopt;
}

WaylandSession::WaylandSession(Compositor compositor) : compositor_(compositor) {
  const std::optional<SessionUser> user = WaylandUser();
  if (!user || folder_.path().empty()) return;
  user_ = *user;
  runtime_ = folder_ / "run";
  const std::string home = folder_ / "home";
  chmod(folder_.path().c_str(), 0755);
  if (mkdir(runtime_.c_str(), 0700) != 0 || mkdir(home.c_str(), 0700) != 0 ||
      !Chown(runtime_, user_) || !Chown(home, user_))
    return;
  // XWayland's sockets go there; a chroot may lack the folder.
  if (mkdir("/tmp/.X11-unix", 01777) == 0) chmod("/tmp/.X11-unix", 01777);
  env_ = {"PATH=/usr/local/bin:/usr/bin:/bin", "HOME=" + home, "XDG_RUNTIME_DIR=" + runtime_,
          "LANG=C.UTF-8"};

  std::vector<std::string> own = env_, argv;
  if (compositor == Compositor::Sway) {
    const std::string config = folder_ / "sway.config";
    WriteBytes(config, kSwayConfig);
    chmod(config.c_str(), 0644);
    own.insert(own.end(), {"WLR_BACKENDS=headless", "WLR_RENDERER=pixman",
                           "WLR_LIBINPUT_NO_DEVICES=1", "WLR_HEADLESS_OUTPUTS=2"});
    argv = {"sway", "-c", config};
  } else {
    static std::atomic<int> sessions{0};
    waylandDisplay_ = "orvane-" + std::to_string(getpid()) + "-" + std::to_string(++sessions);
    argv = {"weston",
            "--backend=headless-backend.so",
            "--use-gl",
            "--debug",
            "--socket=" + waylandDisplay_,
            "--width=640",
            "--height=480",
            "--idle-time=0"};
  }
  pid_ = Spawn(AsUser(user_, own, argv, true), {}, "/dev/null", folder_ / "compositor.log", true);
  ready_ = WaitUntilReady(compositor);
}

bool WaylandSession::WaitUntilReady(Compositor compositor) {
  const auto alive = [&] {
    if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == pid_) pid_ = -1;  // nothing to end later
    return pid_ > 0;
  };
  std::string ipc;
  const auto listening = [&] {
    if (!alive()) return true;
    if (compositor == Compositor::Weston) return fs::exists(runtime_ + "/" + waylandDisplay_);
    waylandDisplay_ = FindEntry(runtime_, "wayland-");
    ipc = FindEntry(runtime_, "sway-ipc.");
    return !waylandDisplay_.empty() && !ipc.empty();
  };
  if (!WaitFor(listening, 30s, 20ms) || !alive()) return false;
  env_.push_back("WAYLAND_DISPLAY=" + waylandDisplay_);
  if (compositor == Compositor::Weston)
    return WaitFor([&] { return !alive() || Shot(0, 0, 640, 480).valid(); }, 30s, 100ms) && alive();
  env_.push_back("SWAYSOCK=" + runtime_ + "/" + ipc);
  if (!WaitFor([&] { return !alive() || Outputs().size() == 2; }, 30s, 50ms) || !alive())
    return false;
  if (const std::string display = XwaylandDisplay(pid_); !display.empty())
    env_.push_back("DISPLAY=" + display);
  return true;
}

WaylandSession::~WaylandSession() {
  End(pid_);
}

std::unique_ptr<Child> WaylandSession::Start(const std::vector<std::string>& argv,
                                             const std::vector<std::string>& env) const {
  std::vector<std::string> all = env_;
  all.insert(all.end(), env.begin(), env.end());
  return std::make_unique<Child>(AsUser(user_, all, argv));
}

std::pair<int, std::string> WaylandSession::Run(const std::vector<std::string>& argv) const {
  auto child = Start(argv);
  const std::optional<int> code = child->Wait(30s);
  return {code.value_or(-1), child->Stdout()};
}

bool WaylandSession::GiveToUser(const std::string& path) const {
  if (!user_.switched) return true;
  return RunShell("chown -R " + std::to_string(user_.uid) + ":" + std::to_string(user_.gid) + " '" +
                  path + "'")
             .first == 0;
}

std::vector<OutputInfo> WaylandSession::Outputs() const {
  // swaymsg's plain listing: "Output NAME '…'", then "  Current mode: 640x480 @ …",
  // "  Position: 0,0", "  Scale factor: 2.000000" among other lines.
  std::vector<OutputInfo> outputs;
  std::istringstream lines(Run({"swaymsg", "-p", "-t", "get_outputs"}).second);
  std::vector<int> modeWidth, modeHeight;
  for (std::string line; std::getline(lines, line);) {
    int a = 0, b = 0;
    double scale = 0;
    char name[64];
    if (std::sscanf(line.c_str(), "Output %63s", name) == 1) {
      outputs.push_back({name});
      modeWidth.push_back(0), modeHeight.push_back(0);
    } else if (outputs.empty()) {
      continue;
    } else if (std::sscanf(line.c_str(), " Current mode: %dx%d", &a, &b) == 2) {
      modeWidth.back() = a, modeHeight.back() = b;
    } else if (std::sscanf(line.c_str(), " Position: %d,%d", &a, &b) == 2) {
      outputs.back().x = a, outputs.back().y = b;
    } else if (std::sscanf(line.c_str(), " Scale factor: %lf", &scale) == 1 && scale > 0) {
      outputs.back().scale = scale;
    }
  }
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    outputs[i].width = static_cast<int>(modeWidth[i] / outputs[i].scale);
    outputs[i].height = static_cast<int>(modeHeight[i] / outputs[i].scale);
  }
  return outputs;
}

std::string WaylandSession::AddOutput() const {
  const std::vector<OutputInfo> before = Outputs();
  if (Run({"swaymsg", "create_output"}).first != 0) return "";
  std::string added;
  WaitFor(
      [&] {
        for (const OutputInfo& output : Outputs()) {
          bool known = false;
          for (const OutputInfo& old : before) known = known || old.name == output.name;
          if (!known && output.width == 640) added = output.name;
        }
        return !added.empty();
      },
      10s, 50ms);
  return added;
}

bool WaylandSession::SetScale(const std::string& output, int scale) const {
  if (Run({"swaymsg", "output", output, "scale", std::to_string(scale)}).first != 0) return false;
  return WaitFor(
      [&] {
        for (const OutputInfo& o : Outputs())
          if (o.name == output) return o.scale == scale;
        return false;
      },
      10s, 50ms);
}

bool WaylandSession::Type(const std::string& key) const {
  return Run({"wtype", "-s", "300", "-k", key}).first == 0;
}

Screenshot WaylandSession::Shot(int x, int y, int width, int height, int scale) const {
  if (compositor_ == Compositor::Sway) {
    std::vector<std::string> argv{"grim", "-g",
                                  std::to_string(x) + "," + std::to_string(y) + " " +
                                      std::to_string(width) + "x" + std::to_string(height),
                                  "-t", "ppm"};
    if (scale > 0) argv.insert(argv.end(), {"-s", std::to_string(scale)});
    argv.push_back("-");
    const auto [code, bytes] = Run(argv);
    return code == 0 ? ParsePpm(bytes) : Screenshot{};
  }
  // weston-screenshooter writes a PNG into the folder it runs in.
  const std::string shots = folder_ / "shots";
  std::error_code ignored;
  fs::remove_all(shots, ignored);
  if (mkdir(shots.c_str(), 0700) != 0 || !Chown(shots, user_)) return {};
  Child shooter(AsUser(user_, env_, {"weston-screenshooter"}, false, shots));
  if (shooter.Wait(30s) != 0) return {};
  const std::string file = FindEntry(shots, "");
  return file.empty() ? Screenshot{} : ReadPng(shots + "/" + file);
}

std::optional<Rgb> WaylandSession::Pixel(int x, int y) const {
  const Screenshot shot = Shot(x, y, 1, 1);
  if (!shot.valid()) return std::nullopt;
  if (compositor_ == Compositor::Sway) return shot.at(0, 0);
  if (x < 0 || y < 0 || x >= shot.width || y >= shot.height) return std::nullopt;
  return shot.at(x, y);
}

}  // namespace orvane::testing
