#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "host/window_timer.h"
#include "platform/timers.h"

// The music of a saver run, kept going by two timers; the daemon run plays it the same way.
namespace orvane {

class SaverMusic {
 public:
  static constexpr std::chrono::milliseconds Timer1Interval{1000};  // keeps the MP3 playing
  static constexpr std::chrono::milliseconds Timer2Interval{200};   // polls the CD

  // prepareMusic runs just before the music starts, only when there is music to play.
  SaverMusic(Timers& timers, std::function<void()> prepareMusic = {});
  SaverMusic(const SaverMusic&) = delete;
  SaverMusic& operator=(const SaverMusic&) = delete;

  // True when the settings name music to play: a CD, or a file ending in WAV or MP3.
  static bool HasMusic();
  // The load step's music: the CD opened and polled every 200 ms, a WAV file looping, or an
  // MP3 file playing and kept playing every 1000 ms.
  void Start();
  // The close step's music: the CD stopped and closed while its poll still runs, the WAV loop
  // stopped, or the MP3 stopped and closed. Ticks after it do nothing.
  void Stop();
  // Stops both timers without a word to the music (a window that goes without closing).
  void StopTimers();

 private:
  void KeepMp3();  // Timer1
  void PollCd();   // Timer2

  std::function<void()> prepareMusic_;
  WindowTimer timer1_;
  WindowTimer timer2_;
  bool stopped_ = false;
};

// How the music steps tell the music file's kind: the last three characters of BGM_File,
// upper-cased ("Mp3" and a name ending "mp3" with no dot both count as MP3).
enum class MusicFileKind { Wav, Mp3, Other };
MusicFileKind MusicFileKindOf(const std::string& file);

}  // namespace orvane
