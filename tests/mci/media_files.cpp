#include "tests/mci/media_files.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "tests/support/child.h"

namespace orvane::testing {
namespace {

// A half-scale sine tone as 16-bit stereo little-endian samples, as WAV files and CDs hold it.
std::string Tone(double seconds, double frequency) {
  std::string samples;
  for (long i = 0; i < std::lround(seconds * 44100); ++i) {
    const auto s = std::uint16_t(std::lround(16383 * std::sin(2 * M_PI * frequency * i / 44100)));
    samples += {char(s & 0xFF), char(s >> 8), char(s & 0xFF), char(s >> 8)};
  }
  return samples;
}

std::string Le32(std::size_t n) {
  return {char(n & 0xFF), char(n >> 8 & 0xFF), char(n >> 16 & 0xFF), char(n >> 24 & 0xFF)};
}

}  // namespace

void WriteWav(const std::string& path, double seconds, double frequency) {
  const std::string samples = Tone(seconds, frequency);
  WriteBytes(path, "RIFF" + Le32(36 + samples.size()) +
                       std::string("WAVEfmt \x10\0\0\0\x01\0\x02\0\x44\xAC\0\0\x10\xB1\x02\0"
                                   "\x04\0\x10\0data",
                                   32) +
                       Le32(samples.size()) + samples);
}

void WriteEmptyWav(const std::string& path) {
  WriteWav(path, 0, 0);
}

bool WriteMp3(const std::string& path, double seconds, double frequency) {
  // Encoded under a plain name first: the path may hold blanks and quotes.
  const TempFolder scratch;
  const std::string command =
      "gst-launch-1.0 -q audiotestsrc num-buffers=" +
      std::to_string(std::lround(seconds * 44100 / 1024)) +
      " samplesperbuffer=1024 volume=0.5 freq=" + std::to_string(frequency) +
      " ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! lamemp3enc target=1 bitrate=128 "
      "cbr=true ! xingmux ! filesink location=" +
      scratch / "tone.mp3" + " >/dev/null 2>&1";
  std::error_code failed;
  return RunShell(command).first == 0 &&
         std::filesystem::copy_file(scratch / "tone.mp3", path,
                                    std::filesystem::copy_options::overwrite_existing, failed);
}

std::string WriteDiscImage(const std::string& folder, const std::vector<double>& trackSeconds) {
  std::string bin, cue = "FILE \"disc.bin\" BINARY\n";
  for (std::size_t t = 0; t < trackSeconds.size(); ++t) {
    const std::size_t sector = bin.size() / 2352;
    char entry[96];
    std::snprintf(entry, sizeof entry, "  TRACK %02zu AUDIO\n    INDEX 01 %02zu:%02zu:%02zu\n",
                  t + 1, sector / 4500, sector / 75 % 60, sector % 75);
    cue += entry;
    bin += Tone(std::round(trackSeconds[t] * 75) / 75, 440 + 220.0 * t);
  }
  WriteBytes(folder + "/disc.bin", bin);
  WriteBytes(folder + "/disc.cue", cue);
  return folder + "/disc.cue";
}

}  // namespace orvane::testing
