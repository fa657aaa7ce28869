// Frame pacing of the real Orvane.dll under Xvfb on Mesa's software GL, on one monitor of
// 1920 x 1080 and on two side by side, next to a GLUT program that only re-arms its 20 ms timer
// and swaps (the ceiling the timer sets).
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

Pacing measure(const std::string& program, const orvane::testing::Xvfb& xvfb,
               const std::filesystem::path& work, double seconds) {
  const std::string log = (work / "swaps.log").string();
  std::filesystem::remove(log);
  orvane::testing::Child child({program},
                               {"DISPLAY=" + xvfb.display(), "XDG_CACHE_HOME=" + work.string(),
                                "LD_PRELOAD=" ORVANE_SWAP_PROBE, "ORVANE_SWAP_LOG=" + log});
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds + 1.5));
  orvane::testing::RunShell("DISPLAY=" + xvfb.display() + " xdotool key Escape");
  if (child.Wait(5s) != 0) {
    std::fprintf(stderr, "%s did not end with 0 on Escape\n%s", program.c_str(),
                 child.Stderr().c_str());
    child.Signal(SIGKILL);
    child.Wait(5s);
  }

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
  if (ceiling.framesPerSecond > 0) {
    std::printf("Orvane.dll reaches %.1f%% of the ceiling on one monitor, %.1f%% on two\n",
                100.0 * tunnel.framesPerSecond / ceiling.framesPerSecond,
                100.0 * two.framesPerSecond / ceiling.framesPerSecond);
  }
  if (tunnel.cpuMsPerFrame > 0) {
    std::printf("Two monitors cost %.2f times one monitor's CPU per frame\n",
                two.cpuMsPerFrame / tunnel.cpuMsPerFrame);
  }
  std::filesystem::remove_all(work);
  return tunnel.frames > 0 && two.frames > 0 ? 0 : 1;
}
