// The music of a saver run: the load step's start, the two music timers and the close step's stop.
#include "host/saver_music.h"

#include "common/ascii_case.h"
#include "host/Orvane_B.h"
#include "host/guarded.h"
#include "host/music/Orvane_BGM.h"

namespace orvane {
namespace {

MusicFileKind FileKindOrOther() {
  MusicFileKind kind = MusicFileKind::Other;
  if (BGM_Kind == 2) Guarded([&] { kind = MusicFileKindOf(BGM_File); });
  return kind;
}

}  // namespace

MusicFileKind MusicFileKindOf(const std::string& file) {
  if (common::EndsWithIgnoringCase(file, "WAV")) return MusicFileKind::Wav;
  if (common::EndsWithIgnoringCase(file, "MP3")) return MusicFileKind::Mp3;
  return MusicFileKind::Other;
}

SaverMusic::SaverMusic(Timers& timers, std::function<void()> prepareMusic)
    : prepareMusic_(std::move(prepareMusic)),
      timer1_(timers, Timer1Interval, [this] { KeepMp3(); }),
      timer2_(timers, Timer2Interval, [this] { PollCd(); }) {}

bool SaverMusic::HasMusic() {
  return BGM_Kind == 1 || FileKindOrOther() != MusicFileKind::Other;
}

void SaverMusic::Start() {
  const MusicFileKind kind = FileKindOrOther();
  if (HasMusic() && prepareMusic_) Guarded(prepareMusic_);
  // The CD: opened here, started and kept playing by the 200 ms poll.
  if (BGM_Kind == 1) {
    Guarded([] { BGM_CDOpen(); });
    Guarded([&] { timer2_.Start(); });
  }
  // A music file: WAV loops by itself, MP3 is kept playing by the 1000 ms timer.
  if (kind == MusicFileKind::Wav) Guarded([] { BGM_WAVPlay(); });
  if (kind == MusicFileKind::Mp3) {
    Guarded([] { BGM_MP3Open(); });
    Guarded([&] { timer1_.Start(); });
  }
}

void SaverMusic::Stop() {
  if (stopped_) return;
  stopped_ = true;
  // Only a running CD timer says that the CD device is still in use.
  bool cdInUse = false;
  Guarded([&] { cdInUse = timer2_.running(); });
  if (cdInUse) {
    Guarded([&] { timer2_.Stop(); });
    Guarded([] { BGM_CDClose(); });
  }
  // The same test of the file's ending as the start.
  const MusicFileKind kind = FileKindOrOther();
  if (kind == MusicFileKind::Wav) Guarded([] { BGM_WAVStop(); });
  if (kind == MusicFileKind::Mp3) {
    Guarded([&] { timer1_.Stop(); });
    Guarded([] { BGM_MP3Close(); });
  }
}

void SaverMusic::StopTimers() {
  Guarded([&] { timer1_.Stop(); });
  Guarded([&] { timer2_.Stop(); });
}

void SaverMusic::KeepMp3() {
  if (stopped_) return;
  Guarded([] { BGM_MP3Keep(); });
}

void SaverMusic::PollCd() {
  if (stopped_) return;
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

}  // namespace orvane
