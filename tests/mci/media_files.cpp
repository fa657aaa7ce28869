#include "tests/mci/media_files.h"

#include <gst/gst.h>

#include <cmath>
#include <cstdint>
#include <cstdio>

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
  gst_init(nullptr, nullptr);
  const std::string description =
      "audiotestsrc num-buffers=" + std::to_string(std::lround(seconds * 44100 / 1024)) +
      " samplesperbuffer=1024 volume=0.5 freq=" + std::to_string(frequency) +
      " ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! lamemp3enc target=1 bitrate=128 "
      "cbr=true ! xingmux ! filesink name=out";
  GstElement* pipeline = gst_parse_launch(description.c_str(), nullptr);
  if (pipeline == nullptr) return false;
  // A property needs no quoting of the path's blanks or quotes.
  GstElement* out = gst_bin_get_by_name(GST_BIN(pipeline), "out");
  g_object_set(out, "location", path.c_str(), nullptr);
  gst_object_unref(out);
  gst_element_set_state(pipeline, GST_STATE_PLAYING);
  GstBus* bus = gst_element_get_bus(pipeline);
  GstMessage* done = gst_bus_timed_pop_filtered(
      bus, 30 * GST_SECOND, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  const bool ok = done != nullptr && GST_MESSAGE_TYPE(done) == GST_MESSAGE_EOS;
  if (done != nullptr) gst_message_unref(done);
  gst_object_unref(bus);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(pipeline);
  return ok;
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
