#include "tests/mci/media_files.h"

#include <gst/gst.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace orvane::testing {
namespace {

// Runs "audiotestsrc ! <encoder> ! filesink" over a sine tone to its end.
bool Encode(const std::string& path, double seconds, double frequency, const char* encoder) {
  gst_init(nullptr, nullptr);
  // Whole buffers of at most 1024 frames; a clip shorter than that is one buffer of its length.
  const auto frames = static_cast<long>(std::lround(seconds * 44100));
  const long perBuffer = std::clamp(frames, 1L, 1024L);
  const std::string description = "audiotestsrc num-buffers=" + std::to_string(frames / perBuffer) +
                                  " samplesperbuffer=" + std::to_string(perBuffer) +
                                  " volume=0.5 freq=" + std::to_string(frequency) +
                                  " ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! " + encoder +
                                  " ! filesink name=out";
  GstElement* pipeline = gst_parse_launch(description.c_str(), nullptr);
  if (pipeline == nullptr) return false;
  // The path goes in as a property: no quoting of blanks or quotes in a pipeline description.
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

}  // namespace

void WriteWav(const std::string& path, double seconds, double frequency) {
  Encode(path, seconds, frequency, "wavenc");
}

void WriteEmptyWav(const std::string& path) {
  WriteBytes(path,
             std::string("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0\x44\xAC\0\0\x10\xB1\x02\0"
                         "\x04\0\x10\0data\0\0\0\0",
                         44));
}

bool WriteMp3(const std::string& path, double seconds, double frequency) {
  return Encode(path, seconds, frequency, "lamemp3enc target=1 bitrate=128 cbr=true ! xingmux");
}

std::string WriteDiscImage(const std::string& folder, const std::vector<double>& trackSeconds) {
  static const double kTones[] = {440, 660, 880, 550, 770};
  std::string bin;
  std::string cue = "FILE \"disc.bin\" BINARY\n";
  for (std::size_t t = 0; t < trackSeconds.size(); ++t) {
    const std::size_t sector = bin.size() / 2352;
    char entry[96];
    std::snprintf(entry, sizeof entry, "  TRACK %02zu AUDIO\n    INDEX 01 %02zu:%02zu:%02zu\n",
                  t + 1, sector / 4500, sector / 75 % 60, sector % 75);
    cue += entry;
    // 16-bit stereo little-endian, as CD audio holds it, to the track's whole sectors.
    const auto frames = static_cast<std::size_t>(std::lround(trackSeconds[t] * 75)) * 588;
    for (std::size_t i = 0; i < frames; ++i) {
      const auto s =
          std::uint16_t(std::lround(16383 * std::sin(2 * M_PI * kTones[t % 5] * i / 44100)));
      bin += {char(s & 0xFF), char(s >> 8), char(s & 0xFF), char(s >> 8)};
    }
  }
  WriteBytes(folder + "/disc.bin", bin);
  WriteBytes(folder + "/disc.cue", cue);
  return folder + "/disc.cue";
}

}  // namespace orvane::testing
