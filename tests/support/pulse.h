#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvane::testing {

// A PulseAudio daemon of the test's own: its own runtime folder and socket, one null sink
// ("orvane_null") as the default output, no other client or server involved. It ends with
// the test (the destructor ends exactly this daemon, by its id; it also dies with the test
// process, and leaves by itself after two idle minutes). Works as root.
class PulseServer {
 public:
  PulseServer();
  ~PulseServer();
  PulseServer(const PulseServer&) = delete;
  PulseServer& operator=(const PulseServer&) = delete;

  bool running() const { return pid_ > 0 && ready_; }
  // NAME=value pairs that point a program (a Child) at this daemon.
  std::vector<std::string> env() const;
  // Points this process's own PulseAudio clients (GStreamer's pulsesink) at the daemon.
  void UseInThisProcess() const;

 private:
  friend class PulseRecorder;
  pid_t pid_ = -1;
  bool ready_ = false;
  std::string dir_;
  std::string server_;
};

// Records what plays on the null sink (its monitor) as 16-bit stereo at 44.1 kHz. The sink
// delivers data only while something plays, so the recording is looked at in stretches
// between marks, not by time.
class PulseRecorder {
 public:
  explicit PulseRecorder(const PulseServer& server);
  ~PulseRecorder();
  PulseRecorder(const PulseRecorder&) = delete;
  PulseRecorder& operator=(const PulseRecorder&) = delete;

  bool running() const { return pid_ > 0; }
  // The number of stereo frames recorded so far; a mark for the functions below.
  std::size_t Mark() const;
  // The samples (left, right, left, …) recorded from frame `from` on.
  std::vector<std::int16_t> Since(std::size_t from) const;
  // The largest sample magnitude from frame `from` on (0 when nothing or silence arrived).
  int PeakSince(std::size_t from) const;
  // True once a sample louder than 3000 (a half-scale tone peaks near 16000) has arrived from
  // frame `from` on, looking until `timeout`.
  bool HeardSince(std::size_t from, std::chrono::milliseconds timeout) const;
  // True when nothing but silence (every sample below 50) arrives over `listen`, once what was
  // on its way to the sink has drained for `drain`.
  bool StaysSilent(std::chrono::milliseconds listen = std::chrono::milliseconds(800),
                   std::chrono::milliseconds drain = std::chrono::milliseconds(300)) const;
  // The longest run of frames from `from` on whose samples all stay below `threshold`.
  std::size_t LongestQuietRun(std::size_t from, int threshold) const;

 private:
  pid_t pid_ = -1;
  std::string path_;
};

}  // namespace orvane::testing
