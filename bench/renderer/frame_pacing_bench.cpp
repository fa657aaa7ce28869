// Frame pacing of the real Orvane.dll on Mesa's software GL: under Xvfb on one monitor of
// 1920 x 1080 (GLUT's timer) and on two side by side (the GLX frame loop), and with --wayland
// on a headless sway of two outputs of that size (the Wayland shell, the same frame loop), next
// to a GLUT program that only re-arms its 20 ms timer and swaps (the ceiling the timer sets).
// Usage: bench_frame_pacing [seconds [WIDTHxHEIGHT]]   (default 10 s after one second of
// warm-up, monitors of 1920x1080)

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/child.h"
#include "tests/support/wayland_session.h"
#include "tests/support/xvfb.h"

namespace {

using namespace std::chrono_literals;

struct Pacing {
  int frames = 0;
  double framesPerSecond = 0;
  double medianMs = 0;
  double p99Ms = 0;
  double worstMs = 0;
  double cpuMsPerFrame = 0;
};

// The swaps a probe noted in log (wall and CPU seconds a line), over seconds after the first.
Pacing analyse(const std::string& log, double seconds) {
  std::vector<std::pair<double, double>> swaps;  // wall, cpu
  std::ifstream in(log);
  for (double wall, cpu; in >> wall >> cpu;) swaps.emplace_back(wall, cpu);
  Pacing result;
  if (swaps.size() < 3) return result;
  const double from = swaps.front().first + 1.0, to = from + seconds;
  std::vector<std::pair<double, double>> window;
  for (const auto& s : swaps)
    if (s.first >= from && s.first < to) window.push_back(s);
  if (window.size() < 3) return result;
  std::vector<double> intervals;
  for (std::size_t i = 1; i < window.size(); ++i)
    intervals.push_back((window[i].first - window[i - 1].first) * 1000.0);
  std::sort(intervals.begin(), intervals.end());
  const double span = window.back().first - window.front().first;
  result.frames = static_cast<int>(window.size());
  result.framesPerSecond = intervals.size() / span;
  result.medianMs = intervals[intervals.size() / 2];
  result.p99Ms = intervals[std::min(intervals.size() - 1, intervals.size() * 99 / 100)];
  result.worstMs = intervals.back();
  result.cpuMsPerFrame = (window.back().second - window.front().second) * 1000.0 / intervals.size();
  return result;
}

void ended(orvane::testing::Child& child, const std::string& program) {
  if (child.Wait(5s) == 0) return;
  std::fprintf(stderr, "%s did not end with 0 on Escape\n%s", program.c_str(),
               child.Stderr().c_str());
  child.Signal(SIGKILL);
  child.Wait(5s);
}

Pacing measure(const std::string& program, const orvane::testing::Xvfb& xvfb,
               const std::filesystem::path& work, double seconds) {
  const std::string log = (work / "swaps.log").string();
  std::filesystem::remove(log);
  orvane::testing::Child child({program},
                               {"DISPLAY=" + xvfb.display(), "XDG_CACHE_HOME=" + work.string(),
                                "LD_PRELOAD=" ORVANE_SWAP_PROBE, "ORVANE_SWAP_LOG=" + log});
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds + 1.5));
  orvane::testing::RunShell("DISPLAY=" + xvfb.display() + " xdotool key Escape");
  ended(child, program);
  return analyse(log, seconds);
}

// Orvane.dll --wayland on a headless sway with two outputs of width x height; the time from its
// start to the first frame on both outputs (their centres' fog on screen) in firstFrameMs.
Pacing measureWayland(int width, int height, double seconds, double& firstFrameMs) {
  orvane::testing::WaylandSession sway;
  if (!sway.running()) {
    std::fprintf(stderr, "bench_frame_pacing: sway did not start\n%s", sway.Log().c_str());
    return {};
  }
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  for (const char* output : {"HEADLESS-1", "HEADLESS-2"})
    sway.Run({"swaymsg", "output", output, "mode", size});
  sway.Run({"swaymsg", "output", "HEADLESS-2", "position", std::to_string(width), "0"});
  const std::string cache = sway.home() + "/.cache", log = sway.home() + "/swaps.log";
  std::filesystem::create_directories(cache + "/t_ovin");
  std::filesystem::copy_file(ORVANE_BIN_DIR "/Orvane.image", cache + "/t_ovin/Orvane.image");
  sway.GiveToUser(cache);
  const auto start = std::chrono::steady_clock::now();
  auto child = sway.Start({ORVANE_BIN_DIR "/Orvane.dll", "--wayland"},
                          {"LD_PRELOAD=" ORVANE_SWAP_PROBE, "ORVANE_SWAP_LOG=" + log});
  const auto fogged = [&](int x) {
    const auto pixel = sway.Pixel(x, height / 2);
    return pixel && orvane::testing::Near(*pixel, {153, 153, 0}, 25);
  };
  orvane::testing::WaitFor([&] { return fogged(width / 2) && fogged(width + width / 2); }, 30s,
                           1ms);
  firstFrameMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds + 1.5));
  sway.Type("Escape");
  ended(*child, "Orvane.dll --wayland");
  return analyse(log, seconds);
}

void print(const char* name, const Pacing& p) {
  std::printf("%-26s %7d %8.2f %10.2f %10.2f %10.2f %13.2f\n", name, p.frames, p.framesPerSecond,
              p.medianMs, p.p99Ms, p.worstMs, p.cpuMsPerFrame);
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
  int width = 1920, height = 1080;
  if (argc > 2 && std::sscanf(argv[2], "%dx%d", &width, &height) != 2) {
    std::fprintf(stderr, "usage: bench_frame_pacing [seconds [WIDTHxHEIGHT]]\n");
    return 2;
  }
  orvane::testing::Xvfb xvfb(width, height);
  // Two monitors side by side, as RandR monitors of a screen twice as wide.
  orvane::testing::Xvfb wide(2 * width, height);
  const std::string size = std::to_string(width) + "/500x" + std::to_string(height) + "/300";
  if (!xvfb.running() || !wide.running() ||
      orvane::testing::RunShell("DISPLAY=" + wide.display() + " xrandr --setmonitor A " + size +
                                "+0+0 screen && DISPLAY=" + wide.display() +
                                " xrandr --setmonitor B " + size + "+" + std::to_string(width) +
                                "+0 none >/dev/null")
              .first != 0) {
    std::fprintf(stderr, "bench_frame_pacing: Xvfb did not start with its monitors\n");
    return 1;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "orvane-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const std::filesystem::path work = pattern;
  std::filesystem::create_directories(work / "t_ovin");
  std::filesystem::copy_file(ORVANE_BIN_DIR "/Orvane.image", work / "t_ovin" / "Orvane.image");

  std::printf("Frame pacing on monitors of %d x %d under Xvfb, %.0f s after 1 s of warm-up\n",
              width, height, seconds);
  std::printf("%-26s %7s %8s %10s %10s %10s %13s\n", "program", "frames", "fps", "median ms",
              "p99 ms", "worst ms", "CPU ms/frame");
  const Pacing ceiling = measure(ORVANE_TIMER_CEILING, xvfb, work, seconds);
  print("timer only (ceiling)", ceiling);
  const Pacing tunnel = measure(ORVANE_BIN_DIR "/Orvane.dll", xvfb, work, seconds);
  print("Orvane.dll, one monitor", tunnel);
  const Pacing two = measure(ORVANE_BIN_DIR "/Orvane.dll", wide, work, seconds);
  print("Orvane.dll, two monitors", two);
  double firstFrameMs = 0;
  const Pacing wayland = measureWayland(width, height, seconds, firstFrameMs);
  print("--wayland, two sway outputs", wayland);
  std::printf("--wayland: both outputs' first frames on screen %.0f ms after its start\n",
              firstFrameMs);
  if (ceiling.framesPerSecond > 0) {
    std::printf(
        "Orvane.dll reaches %.3f of the ceiling on one monitor, %.3f on two (GLX), %.3f on two "
        "outputs of sway (Wayland)\n",
        tunnel.framesPerSecond / ceiling.framesPerSecond,
        two.framesPerSecond / ceiling.framesPerSecond,
        wayland.framesPerSecond / ceiling.framesPerSecond);
  }
  if (tunnel.cpuMsPerFrame > 0) {
    std::printf("Two monitors cost %.2f times one monitor's CPU per frame\n",
                two.cpuMsPerFrame / tunnel.cpuMsPerFrame);
  }
  std::filesystem::remove_all(work);
  return tunnel.frames > 0 && two.frames > 0 && wayland.frames > 0 ? 0 : 1;
}
