#include "tests/support/pulse.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <thread>

#include "tests/support/child.h"

namespace orvane::testing {

using std::chrono::milliseconds;

PulseServer::PulseServer() {
  if (dir_.empty()) return;
  for (const char* sub : {"/run", "/state", "/config"}) mkdir((dir_ + sub).c_str(), 0700);
  std::ofstream(dir_ + "/client.conf") << "autospawn = no\nenable-shm = no\n";
  std::vector<std::string> daemonEnv = env();
  daemonEnv.insert(daemonEnv.end(), {"HOME=" + dir_, "XDG_RUNTIME_DIR=" + dir_ + "/run",
                                     "PULSE_RUNTIME_PATH=" + dir_ + "/run/pulse",
                                     "PULSE_STATE_PATH=" + dir_ + "/state",
                                     "XDG_CONFIG_HOME=" + dir_ + "/config", "DISPLAY"});
  // It also leaves by itself after two idle minutes, and dies with the test process.
  pid_ = Spawn({"pulseaudio", "-n", "--daemonize=no", "--use-pid-file=no", "--system=no",
                "--exit-idle-time=120", "--disable-shm=yes", "--log-target=stderr", "-L",
                "module-null-sink sink_name=orvane_null rate=44100 channels=2", "-L",
                "module-native-protocol-unix socket=" + dir_ + "/native auth-anonymous=1"},
               daemonEnv, dir_ + "/daemon.out", dir_ + "/daemon.err", true);
  std::string prefix;
  for (const std::string& pair : env()) prefix += pair + " ";
  const auto served = [&] {
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) pid_ = -1;  // it died: nothing to end later
    return pid_ < 0 || RunShell("env " + prefix + "pactl info >/dev/null 2>&1").first == 0;
  };
  ready_ = pid_ > 0 && WaitFor(served, milliseconds(10000), milliseconds(50)) && pid_ > 0;
}

PulseServer::~PulseServer() {
  End(pid_);
}

std::vector<std::string> PulseServer::env() const {
  return {"PULSE_SERVER=unix:" + dir_ + "/native", "PULSE_CLIENTCONFIG=" + dir_ + "/client.conf",
          "PULSE_COOKIE=" + dir_ + "/cookie",
          // No session bus: nothing may start one for this daemon or its clients.
          "DBUS_SESSION_BUS_ADDRESS=unix:path=" + dir_ + "/no-bus"};
}

void PulseServer::UseInThisProcess() const {
  for (const std::string& pair : env()) putenv(strdup(pair.c_str()));
}

PulseRecorder::PulseRecorder(const PulseServer& server) {
  if (!server.running()) return;
  path_ = server.dir_ + "/recording-" + std::to_string(reinterpret_cast<std::uintptr_t>(this));
  pid_ = Spawn({"parec", "-d", "orvane_null.monitor", "--raw", "--format=s16le", "--rate=44100",
                "--channels=2", "--latency-msec=20"},
               server.env(), path_, path_ + ".err", true);
}

PulseRecorder::~PulseRecorder() {
  End(pid_);
}

std::size_t PulseRecorder::Mark() const {
  struct stat info {};
  return stat(path_.c_str(), &info) == 0 ? static_cast<std::size_t>(info.st_size) / 4 : 0;
}

std::vector<std::int16_t> PulseRecorder::Since(std::size_t from) const {
  const std::string bytes = ReadBytes(path_);
  std::vector<std::int16_t> samples(bytes.size() / 4 > from ? (bytes.size() / 4 - from) * 2 : 0);
  std::memcpy(samples.data(), bytes.data() + from * 4, samples.size() * 2);
  return samples;
}

int PulseRecorder::PeakSince(std::size_t from) const {
  int peak = 0;
  for (std::int16_t s : Since(from)) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return peak;
}

bool PulseRecorder::HeardSince(std::size_t from, milliseconds timeout) const {
  return WaitFor([&] { return PeakSince(from) > 3000; }, timeout, milliseconds(50));
}

bool PulseRecorder::StaysSilent(milliseconds listen, milliseconds drain) const {
  std::this_thread::sleep_for(drain);
  const std::size_t mark = Mark();
  std::this_thread::sleep_for(listen);
  return PeakSince(mark) < 50;
}

}  // namespace orvane::testing
