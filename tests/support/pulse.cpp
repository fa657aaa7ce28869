#include "tests/support/pulse.h"

#include <sys/stat.h>

#include <algorithm>

namespace orvane::testing {

using std::chrono::milliseconds;

PulseServer::PulseServer() {
  const std::string dir = folder_.path();
  for (const char* sub : {"/run", "/state", "/config"}) mkdir((dir + sub).c_str(), 0700);
  WriteBytes(folder_ / "client.conf", "autospawn = no\nenable-shm = no\n");
  std::vector<std::string> own = env();
  own.insert(
      own.end(),
      {"HOME=" + dir, "XDG_RUNTIME_DIR=" + dir + "/run", "PULSE_RUNTIME_PATH=" + dir + "/run/pulse",
       "PULSE_STATE_PATH=" + dir + "/state", "XDG_CONFIG_HOME=" + dir + "/config", "DISPLAY"});
  // It also leaves by itself after two idle minutes.
  daemon_ = std::make_unique<Child>(
      std::vector<std::string>{
          "pulseaudio", "-n", "--daemonize=no", "--use-pid-file=no", "--system=no",
          "--exit-idle-time=120", "--disable-shm=yes", "--log-target=stderr", "-L",
          "module-null-sink sink_name=orvane_null rate=44100 channels=2", "-L",
          "module-native-protocol-unix socket=" + socket() + " auth-anonymous=1"},
      own, folder_ / "daemon.out", folder_ / "daemon.err");
  const auto served = [&] {
    return !daemon_->Running() || Child({"pactl", "info"}, env()).Wait(milliseconds(5000)) == 0;
  };
  ready_ = WaitFor(served, milliseconds(10000), milliseconds(50)) && daemon_->Running();
}

PulseRecorder::PulseRecorder(const PulseServer& server) {
  if (!server.running()) return;
  path_ = server.folder_ / ("recording-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
  parec_ = std::make_unique<Child>(
      std::vector<std::string>{"parec", "-d", "orvane_null.monitor", "--raw", "--format=s16le",
                               "--rate=44100", "--channels=2", "--latency-msec=20"},
      server.env(), path_, path_ + ".err");
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
