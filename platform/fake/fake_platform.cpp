#include "platform/fake/fake_platform.h"

#include <string_view>

namespace orvane {
namespace {

std::string RectText(const Rect& r) {
  return std::to_string(r.X) + "," + std::to_string(r.Y) + "," + std::to_string(r.Right()) + "," +
         std::to_string(r.Bottom());
}

}  // namespace

FakePlatform::FakePlatform()
    : platform_{*this, *this, *this, *this, *this, *this, *this, *this, *this, *this, *this} {}

void FakePlatform::Advance(std::chrono::milliseconds elapsed) {
  const auto end = now + elapsed;
  while (true) {
    // The running timer that falls due first; ties go to the one started first.
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      if (it->second.running && it->second.due <= end &&
          (next == timers_.end() || it->second.due < next->second.due)) {
        next = it;
      }
    }
    if (next == timers_.end()) break;
    now = next->second.due;
    next->second.due += next->second.interval;
    auto tick = next->second.tick;  // the tick may stop or start timers
    tick();
  }
  now = end;
}

bool FakePlatform::TimerRunning(TimerId id) const {
  auto it = timers_.find(id);
  return it != timers_.end() && it->second.running;
}

std::optional<std::chrono::milliseconds> FakePlatform::TimerInterval(TimerId id) const {
  auto it = timers_.find(id);
  if (it == timers_.end()) return std::nullopt;
  return it->second.interval;
}

std::vector<std::string> FakePlatform::CallsStartingWith(std::string_view prefix) const {
  std::vector<std::string> found;
  for (const auto& call : calls) {
    if (std::string_view(call).substr(0, prefix.size()) == prefix) found.push_back(call);
  }
  return found;
}

WindowHandle FakePlatform::FindWindow(std::string_view title) {
  calls.push_back("FindWindow " + std::string(title));
  auto it = windowsByTitle.find(std::string(title));
  return it == windowsByTitle.end() ? 0 : it->second;
}

void FakePlatform::ShowCursor(bool show) {
  calls.push_back(show ? "ShowCursor 1" : "ShowCursor 0");
  cursorShowCount += show ? 1 : -1;
}

void FakePlatform::ShowMessage(std::string_view text) {
  calls.push_back("MessageBox " + std::string(text));
  if (onMessage) onMessage(text);
}

std::optional<Rect> FakePlatform::GetWindowRect(WindowHandle window) {
  calls.push_back("GetWindowRect " + std::to_string(window));
  auto it = windowRects.find(window);
  if (it == windowRects.end()) return std::nullopt;
  return it->second;
}

bool FakePlatform::SetParent(WindowHandle child, WindowHandle parent) {
  calls.push_back("SetParent " + std::to_string(child) + " " + std::to_string(parent));
  return windowRects.count(child) != 0 && (parent == 0 || windowRects.count(parent) != 0);
}

std::optional<Point> FakePlatform::GetCursorPos() {
  calls.push_back("GetCursorPos");
  return cursorPos;
}

void FakePlatform::DrawAnimatedRects(WindowHandle window, const Rect& from, const Rect& to) {
  calls.push_back("DrawAnimatedRects " + std::to_string(window) + " " + RectText(from) + " -> " +
                  RectText(to));
}

float FakePlatform::TwipsPerPixelX() {
  return twipsPerPixelX;
}
float FakePlatform::TwipsPerPixelY() {
  return twipsPerPixelY;
}
int FakePlatform::ScreenWidth() {
  return screenWidth;
}
int FakePlatform::ScreenHeight() {
  return screenHeight;
}

bool FakePlatform::CreateDirectory(const std::string& path) {
  calls.push_back("CreateDirectory " + path);
  return createDirectoryResult;
}

bool FakePlatform::CopyFile(const std::string& from, const std::string& to) {
  calls.push_back("CopyFile " + from + " -> " + to);
  return copyFileResult;
}

std::string FakePlatform::HostFolder() {
  return hostFolder;
}

FakePlatform::ProgramId FakePlatform::StartProgram(const std::string& program,
                                                   const std::vector<std::string>& arguments) {
  std::string line = "StartProgram " + program;
  for (const auto& argument : arguments) line += " " + argument;
  calls.push_back(line);
  return startedProgram;
}

bool FakePlatform::ProgramEnded(ProgramId program) {
  calls.push_back("ProgramEnded " + std::to_string(program));
  return program == 0 || endedPrograms.count(program) != 0;
}

void FakePlatform::EndProcess() {
  calls.push_back("EndProcess");
  ended = true;
}

FakePlatform::TimerId FakePlatform::StartTimer(std::chrono::milliseconds interval,
                                               std::function<void()> tick) {
  const TimerId id = nextTimer_++;
  calls.push_back("StartTimer " + std::to_string(id) + " " + std::to_string(interval.count()));
  // A zero interval would make Advance spin; one millisecond is the least a timer waits.
  const auto step = interval.count() > 0 ? interval : std::chrono::milliseconds(1);
  timers_[id] = Timer{step, now + step, std::move(tick)};
  return id;
}

void FakePlatform::StopTimer(TimerId id) {
  calls.push_back("StopTimer " + std::to_string(id));
  auto it = timers_.find(id);
  if (it != timers_.end()) it->second.running = false;
}

std::string FakePlatform::SettingsPath(const std::string& hostFolder) {
  return settingsPath.empty() ? hostFolder + "/Orvane.ini" : settingsPath;
}

std::string FakePlatform::SettingsSourcePath(const std::string& hostFolder) {
  return settingsSourcePath.empty() ? SettingsPath(hostFolder) : settingsSourcePath;
}

std::string FakePlatform::UserPicturePath() {
  return userPicturePath;
}

}  // namespace orvane
