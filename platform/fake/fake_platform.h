#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace orvane {

// A Platform for tests: it records every call, in order, as one line of text in calls, and
// answers from the fields below, which a test sets up beforehand. Nothing touches a display
// or a file. The lines are:
//   "FindWindow <title>"               "ShowCursor 0" / "ShowCursor 1"
//   "MessageBox <text>"                "GetWindowRect <window>"
//   "SetParent <child> <parent>"       "GetCursorPos"
//   "DrawAnimatedRects <window> <l>,<t>,<r>,<b> -> <l>,<t>,<r>,<b>"
//   "CreateDirectory <path>"           "CopyFile <from> -> <to>"
//   "StartProgram <program>[ <argument>...]"     "ProgramEnded <id>"
//   "EndProcess"
//   "StartTimer <id> <milliseconds>"   "StopTimer <id>"
class FakePlatform final : WindowFinder,
                           Cursor,
                           MessageBox,
                           WindowGeometry,
                           Pointer,
                           RectAnimation,
                           ScreenMetrics,
                           FileSystem,
                           Process,
                           Timers,
                           UserFiles {
 public:
  FakePlatform();
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  Platform& platform() { return platform_; }
  operator Platform&() { return platform_; }

  // The calls made so far.
  std::vector<std::string> calls;

  // Answers.
  std::map<std::string, WindowHandle> windowsByTitle;  // FindWindow
  std::map<WindowHandle, Rect> windowRects;            // GetWindowRect, SetParent
  std::optional<Point> cursorPos;                      // GetCursorPos
  float twipsPerPixelX = 15.0f;
  float twipsPerPixelY = 15.0f;
  int screenWidth = 1024;
  int screenHeight = 768;
  std::string hostFolder = "/opt/orvane";
  bool createDirectoryResult = true;
  bool copyFileResult = true;
  ProgramId startedProgram = 4242;    // StartProgram's answer; 0: the start fails
  std::set<ProgramId> endedPrograms;  // ProgramEnded is true for these (and for 0)
  // UserFiles: the settings file ("" means beside the host) and the user's picture.
  std::string settingsPath;
  // SettingsSourcePath's answer; "" means the settings file above.
  std::string settingsSourcePath;
  std::string userPicturePath = "/home/tester/.config/orvane/Orvane.image";
  std::string musicFolder = "/home/tester/Music";  // "" as when it does not exist
  std::string homeFolder = "/home/tester";
  // Called from inside ShowMessage, e.g. to check the state while the box is open.
  std::function<void(std::string_view)> onMessage;

  // State kept by the fake.
  int cursorShowCount = 0;  // ShowCursor(true) adds one, ShowCursor(false) takes one
  bool ended = false;       // EndProcess was called

  // The timers: ids in start order. Advance runs every tick that falls due in the next
  // elapsed time, in time order (same time: start order), as the main loop would.
  void Advance(std::chrono::milliseconds elapsed);
  bool TimerRunning(TimerId id) const;
  std::optional<std::chrono::milliseconds> TimerInterval(TimerId id) const;
  std::chrono::milliseconds now{0};

  // The calls that start with prefix, for tests that look at one kind only.
  std::vector<std::string> CallsStartingWith(std::string_view prefix) const;

 private:
  WindowHandle FindWindow(std::string_view title) override;
  void ShowCursor(bool show) override;
  void ShowMessage(std::string_view text) override;
  std::optional<Rect> GetWindowRect(WindowHandle window) override;
  bool SetParent(WindowHandle child, WindowHandle parent) override;
  std::optional<Point> GetCursorPos() override;
  void DrawAnimatedRects(WindowHandle window, const Rect& from, const Rect& to) override;
  float TwipsPerPixelX() override;
  float TwipsPerPixelY() override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  bool CreateDirectory(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to) override;
  std::string HostFolder() override;
  ProgramId StartProgram(const std::string& program,
                         const std::vector<std::string>& arguments) override;
  bool ProgramEnded(ProgramId program) override;
  void EndProcess() override;
  TimerId StartTimer(std::chrono::milliseconds interval, std::function<void()> tick) override;
  void StopTimer(TimerId id) override;
  std::string SettingsPath(const std::string& hostFolder) override;
  std::string SettingsSourcePath(const std::string& hostFolder) override;
  std::string UserPicturePath() override;
  std::string MusicFolder() override { return musicFolder; }
  std::string HomeFolder() override { return homeFolder; }

  struct Timer {
    std::chrono::milliseconds interval;
    std::chrono::milliseconds due;
    std::function<void()> tick;
    bool running = true;
  };
  std::map<TimerId, Timer> timers_;
  TimerId nextTimer_ = 1;
  Platform platform_;
};

}  // namespace orvane
