#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "host/renderer_watch.h"
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
  static constexpr std::chrono::milliseconds Timer1Interval{1000};  // keeps the MP3 playing
  static constexpr std::chrono::milliseconds Timer2Interval{200};   // polls the CD
  static constexpr std::chrono::milliseconds Timer3Interval{500};   // watches for the renderer

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

  WindowHandle window() const { return window_; }
  // The renderer command line the load step set: the host folder + "/Orvane.dll".
  const std::string& rendererCommandLine() const { return rendererCommandLine_; }

 private:
  // A timer of the window: an interval, and a running state that the window switches.
  class WindowTimer {
   public:
    WindowTimer(Timers& timers, std::chrono::milliseconds interval, std::function<void()> tick);
    ~WindowTimer();
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;
    // Starting a running timer leaves it as it is.
    void Start();
    void Stop();
    bool running() const { return id_ != 0; }

   private:
    Timers& timers_;
    std::chrono::milliseconds interval_;
    std::function<void()> tick_;
    Timers::TimerId id_ = 0;
  };

  void Load();
  void KeepMp3();        // Timer1
  void PollCd();         // Timer2
  void WatchRenderer();  // Timer3
  void Destroy();

  Platform& platform_;
  HiddenWindows& windows_;
  std::function<void()> prepareMusic_;
  WindowTimer timer1_;
  WindowTimer timer2_;
  WindowTimer timer3_;
  RendererWatch watch_;
  WindowHandle window_ = 0;
  std::string rendererCommandLine_;
  bool closing_ = false;
  bool destroyed_ = false;
};

// How the load and close steps tell the music file's kind: the last three characters of
// BGM_File, upper-cased ("Mp3" and a name ending "mp3" with no dot both count as MP3).
enum class MusicFileKind { Wav, Mp3, Other };
MusicFileKind MusicFileKindOf(const std::string& file);

}  // namespace orvane
