#pragma once

#include <chrono>
#include <functional>

#include "host/renderer_watch.h"
#include "host/saver_music.h"
#include "host/window_timer.h"
#include "platform/hidden_windows.h"
#include "platform/platform.h"

// The saver window: hidden, titled "Orvane_Main", the owner of the saver's timers.
namespace orvane {

// Saver mode's hand-over: creates the window hidden, so that other processes find it by its
// title, runs its load step and returns to the caller's main loop, where its timers tick.
void CreateSaverWindow(Platform& platform);

// Starts the renderer and the music, then asks the renderer watch every 500 ms and closes once
// it has ended. The close step (also on the system's close) stops the music, shows the cursor
// again in "S" mode and ends the process. A step that fails is skipped silently.
class SaverWindow {
 public:
  static constexpr std::chrono::milliseconds Timer3Interval{500};  // watches for the renderer

  // prepareMusic runs just before the music starts, only when there is music to play: the real
  // program makes its multimedia system there, after the renderer, so the tunnel never waits.
  SaverWindow(Platform& platform, HiddenWindows& windows, std::function<void()> prepareMusic = {});
  // Only tests get here: the real close step ends the process.
  ~SaverWindow();
  SaverWindow(const SaverWindow&) = delete;
  SaverWindow& operator=(const SaverWindow&) = delete;

  // A close request, whatever its cause: runs the close step, the first time only.
  void Close();

 private:
  void Load();
  void WatchRenderer();  // Timer3
  void Destroy();

  Platform& platform_;
  HiddenWindows& windows_;
  WindowTimer timer3_;
  SaverMusic music_;  // Timer1 and Timer2
  RendererWatch watch_;
  WindowHandle window_ = 0;
  bool closing_ = false;
  bool destroyed_ = false;
};

}  // namespace orvane
