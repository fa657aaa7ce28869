#pragma once

#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/child.h"
#include "tests/support/temp_folder.h"

namespace orvane::testing {

// A PulseAudio daemon of the test's own (its own folder and socket, works as root) with one
// null sink as the default output.
class PulseServer {
 public:
  PulseServer();
  bool running() const { return ready_; }
  std::string socket() const { return folder_ / "native"; }
  // NAME=value pairs that point a program at it; no session bus, so that nothing starts one.
  std::vector<std::string> env() const {
    return {"PULSE_SERVER=unix:" + socket(), "PULSE_CLIENTCONFIG=" + folder_ / "client.conf",
            "PULSE_COOKIE=" + folder_ / "cookie",
            "DBUS_SESSION_BUS_ADDRESS=unix:path=" + folder_ / "no-bus"};
  }
  void UseInThisProcess() const {
    for (const std::string& pair : env()) putenv(strdup(pair.c_str()));
  }

 private:
  friend class PulseRecorder;
  TempFolder folder_;
  std::unique_ptr<Child> daemon_;
  bool ready_ = false;
};

// Records the null sink as 16-bit stereo at 44.1 kHz. It delivers data only while something
// plays, so the recording is looked at from marks (frame counts), not by time.
class PulseRecorder {
 public:
  explicit PulseRecorder(const PulseServer& server);
  bool running() { return parec_ && parec_->Running(); }
  std::size_t Mark() const { return ReadBytes(path_).size() / 4; }
  std::vector<std::int16_t> Since(std::size_t from) const;  // left, right, left, …
  // A sample louder than 3000 (a half-scale tone peaks near 16000) arrives in time.
  bool HeardSince(std::size_t from, std::chrono::milliseconds timeout) const;
  // Every sample stays below 50 over `listen`, once what was on its way has drained.
  bool StaysSilent(std::chrono::milliseconds listen = std::chrono::milliseconds(800),
                   std::chrono::milliseconds drain = std::chrono::milliseconds(300)) const;

 private:
  int PeakSince(std::size_t from) const;
  std::string path_;
  std::unique_ptr<Child> parec_;
};

}  // namespace orvane::testing
