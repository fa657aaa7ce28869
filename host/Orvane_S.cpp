// The saver window: load step, the three timers and the close step.
#include "host/Orvane_S.h"

#include "host/Orvane_B.h"
#include "host/guarded.h"
#include "host/music/Orvane_BGM.h"

namespace orvane {
namespace {

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

MusicFileKind MusicFileKindOf(const std::string& file) {
  std::string ending = file.size() > 3 ? file.substr(file.size() - 3) : file;
  for (char& c : ending) c = Upper(c);
  if (ending == "WAV") return MusicFileKind::Wav;
  if (ending == "MP3") return MusicFileKind::Mp3;
  return MusicFileKind::Other;
}

SaverWindow::WindowTimer::WindowTimer(Timers& timers, std::chrono::milliseconds interval,
                                      std::function<void()> tick)
    : timers_(timers), interval_(interval), tick_(std::move(tick)) {}

SaverWindow::WindowTimer::~WindowTimer() {
  Stop();
}

void SaverWindow::WindowTimer::Start() {
  if (id_ == 0) id_ = timers_.StartTimer(interval_, tick_);
}

void SaverWindow::WindowTimer::Stop() {
  if (id_ == 0) return;
  const Timers::TimerId id = id_;
  id_ = 0;
  timers_.StopTimer(id);
}

SaverWindow::SaverWindow(Platform& platform, HiddenWindows& windows,
                         std::function<void()> prepareMusic)
    : platform_(platform),
      windows_(windows),
      prepareMusic_(std::move(prepareMusic)),
      timer1_(platform.timers, Timer1Interval, [this] { KeepMp3(); }),
      timer2_(platform.timers, Timer2Interval, [this] { PollCd(); }),
      timer3_(platform.timers, Timer3Interval, [this] { WatchRenderer(); }) {
  // The system's close (logoff, shutdown) runs the same close step as the window's own.
  Guarded([&] { window_ = windows_.CreateHiddenWindow(SaverWindowTitle, [this] { Close(); }); });
  // Timer3 runs from the window's creation, so its first look comes about 500 ms from now,
  // after the load step and start-up have returned.
  Guarded([&] { timer3_.Start(); });
  Load();
}

SaverWindow::~SaverWindow() {
  Destroy();
}

void SaverWindow::Load() {
  // 1. The renderer reads its texture from the data directory, so the copy comes first.
  Guarded([&] { platform_.fileSystem.CopyFile(PicturePath(), std::string(TextureCopyPath)); });
  // 2 and 3. No arguments and no waiting: the renderer's window title is all that links us.
  Guarded([&] { rendererCommandLine_ = RendererPath(); });
  Guarded([&] { platform_.process.StartProgram(rendererCommandLine_, {}); });

  const bool cd = BGM_Kind == 1;
  const bool file = BGM_Kind == 2;
  MusicFileKind kind = MusicFileKind::Other;
  if (file) Guarded([&] { kind = MusicFileKindOf(BGM_File); });
  if ((cd || kind != MusicFileKind::Other) && prepareMusic_) Guarded(prepareMusic_);
  // 4. The CD: opened here, started and kept playing by the 200 ms poll.
  if (cd) {
    Guarded([] { BGM_CDOpen(); });
    Guarded([&] { timer2_.Start(); });
  }
  // 5. A music file: WAV loops by itself, MP3 is kept playing by the 1000 ms timer.
  if (file) {
    if (kind == MusicFileKind::Wav) Guarded([] { BGM_WAVPlay(); });
    if (kind == MusicFileKind::Mp3) {
      Guarded([] { BGM_MP3Open(); });
      Guarded([&] { timer1_.Start(); });
    }
  }
}

void SaverWindow::KeepMp3() {
  if (closing_) return;
  Guarded([] { BGM_MP3Keep(); });
}

void SaverWindow::PollCd() {
  if (closing_) return;
  // A failed poll leaves the flag false, and a poll that broke off counts as failed: the timer
  // stops, and with it the close step's record that the CD device is in use.
  const bool polled = Guarded([] { BGM_CDPoll(); });
  Guarded([&] {
    if (polled && BGM_CDPollOn) {
      timer2_.Start();
    } else {
      timer2_.Stop();
    }
  });
}

void SaverWindow::WatchRenderer() {
  if (closing_) return;
  WindowHandle renderer = 0;
  Guarded([&] { renderer = platform_.windowFinder.FindWindow(RendererWindowTitle); });
  if (renderer != 0) return;
  Guarded([&] { timer3_.Stop(); });
  Close();
}

void SaverWindow::Close() {
  if (closing_) return;
  closing_ = true;

  // 1. Only a running CD timer says that the CD device is still in use.
  bool cdInUse = false;
  Guarded([&] { cdInUse = timer2_.running(); });
  if (cdInUse) {
    Guarded([&] { timer2_.Stop(); });
    Guarded([] { BGM_CDClose(); });
  }
  // 2. The same test of the file's ending as the load step.
  if (BGM_Kind == 2) {
    MusicFileKind kind = MusicFileKind::Other;
    Guarded([&] { kind = MusicFileKindOf(BGM_File); });
    if (kind == MusicFileKind::Wav) Guarded([] { BGM_WAVStop(); });
    if (kind == MusicFileKind::Mp3) {
      Guarded([&] { timer1_.Stop(); });
      Guarded([] { BGM_MP3Close(); });
    }
  }
  // 3. Undoes start-up's hide; with an empty command line the cursor was never hidden.
  Guarded([&] {
    if (ModeLetter() == "S") platform_.cursor.ShowCursor(true);
  });
  // 4. The renderer is not touched: it ends on its own key.
  Guarded([&] { platform_.process.EndProcess(); });
  // Only a test's platform comes back from there; the window then goes as a closed one does.
  Destroy();
}

void SaverWindow::Destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  Guarded([&] { timer1_.Stop(); });
  Guarded([&] { timer2_.Stop(); });
  Guarded([&] { timer3_.Stop(); });
  Guarded([&] {
    if (window_ != 0) windows_.DestroyHiddenWindow(window_);
  });
}

}  // namespace orvane
