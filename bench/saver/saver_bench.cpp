// The saver run of the built programs under Xvfb: time from starting "Orvane.scr /s" to the
// tunnel's first frame on screen, the host's CPU while it watches, and the resident memory of
// both processes. Prints its figures; see bench/README.md.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tests/mci/media_files.h"
#include "tests/saver/saver_run.h"
#include "tests/support/pulse.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using orvane::testing::Child;
using orvane::testing::InstalledProcess;
using orvane::testing::SaverInstall;

// Some pixel of the screen is no longer the black of an empty Xvfb.
bool SomethingDrawn(Display* display) {
  const Window root = DefaultRootWindow(display);
  for (auto [x, y] : {std::pair{40, 384}, {984, 384}, {512, 40}, {512, 728}, {100, 100}}) {
    XImage* image = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) continue;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    if ((pixel & 0xFFFFFF) != 0) return true;
  }
  return false;
}

// CPU time of every thread of a process so far, in nanoseconds (the scheduler's own count,
// finer than the 10 ms ticks of /proc/<pid>/stat).
double CpuNanoseconds(pid_t pid) {
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  DIR* folder = opendir(tasks.c_str());
  if (folder == nullptr) return -1;
  double total = 0;
  while (dirent* entry = readdir(folder)) {
    if (entry->d_name[0] == '.') continue;
    const std::string stat =
        orvane::testing::ReadBytes(tasks + "/" + entry->d_name + "/schedstat");
    total += std::atof(stat.c_str());
  }
  closedir(folder);
  return total;
}

long RssKilobytes(pid_t pid) {
  const std::string status =
      orvane::testing::ReadBytes("/proc/" + std::to_string(pid) + "/status");
  const size_t at = status.find("VmRSS:");
  return at == std::string::npos ? -1 : std::atol(status.c_str() + at + 6);
}

struct Run {
  std::unique_ptr<Child> host;
  std::unique_ptr<InstalledProcess> renderer;
  double firstFrameMs = -1;
};

// Starts the saver and waits for its first frame on screen.
Run StartSaver(SaverInstall& install, const orvane::testing::Xvfb& xvfb, Display* display,
               const std::vector<std::string>& extraEnv) {
  Run run;
  std::vector<std::string> env{"DISPLAY=" + xvfb.display(),
                               "XDG_CACHE_HOME=" + install.cacheHome()};
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());
  const auto start = Clock::now();
  run.host =
      std::make_unique<Child>(std::vector<std::string>{install.Path("Orvane.scr"), "/s"}, env);
  while (Clock::now() - start < 10s) {
    if (SomethingDrawn(display)) {
      run.firstFrameMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      break;
    }
    std::this_thread::sleep_for(1ms);
  }
  const auto renderers = orvane::testing::ProcessesRunning(install.Path("Orvane.dll"));
  if (renderers.size() == 1) {
    run.renderer = std::make_unique<InstalledProcess>(renderers[0], install.Path("Orvane.dll"));
  }
  return run;
}

void EndSaver(Run& run, const orvane::testing::Xvfb& xvfb, Display* display) {
  std::system(("DISPLAY=" + xvfb.display() + " xdotool key Escape").c_str());
  run.host->Wait(5s);
  // The screen goes black again once the tunnel's window is gone.
  const auto deadline = Clock::now() + 5s;
  while (Clock::now() < deadline && SomethingDrawn(display)) std::this_thread::sleep_for(10ms);
  run.renderer.reset();
}

// Host and renderer CPU over `seconds` while the tunnel runs, and their memory at its end.
void Watch(const char* label, SaverInstall& install, const orvane::testing::Xvfb& xvfb,
           Display* display, double seconds, const std::vector<std::string>& extraEnv) {
  Run run = StartSaver(install, xvfb, display, extraEnv);
  if (!run.renderer) {
    std::printf("  %s: the tunnel did not start\n", label);
    return;
  }
  std::this_thread::sleep_for(1500ms);  // past start-up and the music's first second
  const pid_t host = run.host->pid();
  const pid_t renderer = run.renderer->pid();
  const double hostBefore = CpuNanoseconds(host), rendererBefore = CpuNanoseconds(renderer);
  const auto start = Clock::now();
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  const double hostAfter = CpuNanoseconds(host), rendererAfter = CpuNanoseconds(renderer);
  std::printf("  %s, over %.0f s:\n", label, elapsed);
  std::printf("    host CPU      %.3f %% of one core (%.1f ms)\n",
              100.0 * (hostAfter - hostBefore) / 1e9 / elapsed, (hostAfter - hostBefore) / 1e6);
  std::printf("    renderer CPU  %.1f %% of one core\n",
              100.0 * (rendererAfter - rendererBefore) / 1e9 / elapsed);
  std::printf("    host RSS      %ld kB\n", RssKilobytes(host));
  std::printf("    renderer RSS  %ld kB\n", RssKilobytes(renderer));
  EndSaver(run, xvfb, display);
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 30.0;
  const int starts = argc > 2 ? std::atoi(argv[2]) : 7;
  orvane::testing::Xvfb xvfb(1024, 768);
  if (!xvfb.running()) {
    std::fprintf(stderr, "bench_saver: Xvfb did not start\n");
    return 1;
  }
  Display* display = XOpenDisplay(xvfb.display().c_str());
  if (display == nullptr) return 1;
  SaverInstall install;

  std::printf("Saver run under Xvfb at 1024 x 768 (Mesa software GL)\n");
  std::vector<double> times;
  for (int i = 0; i < starts; ++i) {
    Run run = StartSaver(install, xvfb, display, {});
    if (run.firstFrameMs >= 0) times.push_back(run.firstFrameMs);
    EndSaver(run, xvfb, display);
  }
  if (times.empty()) {
    std::printf("  no first frame seen\n");
    return 1;
  }
  std::sort(times.begin(), times.end());
  std::printf("  start of Orvane.scr /s to the first frame on screen, %zu starts:\n", times.size());
  std::printf("    median %.0f ms, fastest %.0f ms, slowest %.0f ms\n", times[times.size() / 2],
              times.front(), times.back());

  Watch("no music", install, xvfb, display, seconds, {});

  orvane::testing::PulseServer pulse;
  orvane::testing::TempFolder music;
  if (pulse.running() && orvane::testing::WriteMp3(music / "tune.mp3", 20.0, 440)) {
    install.WriteSettings(2, music / "tune.mp3");
    Watch("an MP3 playing (decoded in the host)", install, xvfb, display, seconds, pulse.env());
  } else {
    std::printf("  (no PulseAudio daemon or no MP3 encoder: music not measured)\n");
  }
  XCloseDisplay(display);
  return 0;
}
