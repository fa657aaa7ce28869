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

// Saver mode's hand-over ("/s" and the empty command line). Creates the saver window without
// showing it, so that other processes find it by its title, and runs its load step (texture
// copy, renderer start, music). Then returns; the caller runs the main loop, on which the
// window's timers tick through platform.timers. The window's close step ends the process with
// platform.process.EndProcess(). Main has already hidden the cursor in "S" mode.
void CreateSaverWindow(Platform& platform);

// The saver window Orvane_S. It starts the renderer and the music, then only watches: every
// 500 ms it asks the renderer watch (host/renderer_watch.h), and once the renderer has ended it
// closes itself. Its close step (also run when the system closes the window) stops the music, shows
// the cursor again in "S" mode and ends the host process. Every step is guarded: a step that
// fails is skipped without a word and the next one runs.
class SaverWindow {
 public:
  static constexpr std::chrono::milliseconds Timer3Interval{500};  // watches for the renderer

  // Creates the window titled "Orvane_Main" with Timer3 running, then runs the load step.
  // prepareMusic, when given, runs in the load step just before the music starts, and only
  // when there is music to play (a CD, or a file ending in WAV or MP3) (the real program starts its
  // multimedia system there, after the renderer, so that the tunnel is not kept waiting).
  SaverWindow(Platform& platform, HiddenWindows& windows, std::function<void()> prepareMusic = {});
  // The real window never gets here (its close step ends the process); in tests the window
  // then goes with its timers.
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
