#include "tests/mci/media_files.h"

#include <gst/gst.h>

#include <cmath>
#include <cstdio>
#include <fstream>

namespace orvane::testing {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
  out.insert(out.end(), tag, tag + 4);
}

}  // namespace

std::vector<std::uint8_t> SinePcm(double seconds, double frequency) {
  const auto frames = static_cast<std::size_t>(seconds * 44100);
  std::vector<std::uint8_t> pcm;
  pcm.reserve(frames * 4);
  for (std::size_t i = 0; i < frames; ++i) {
    const double v = 0.5 * std::sin(2 * M_PI * frequency * static_cast<double>(i) / 44100);
    const auto s = static_cast<std::int16_t>(std::lround(v * 32767));
    Put16(pcm, static_cast<std::uint16_t>(s));
    Put16(pcm, static_cast<std::uint16_t>(s));
  }
  return pcm;
}

void WriteWav(const std::string& path, double seconds, double frequency) {
  const std::vector<std::uint8_t> pcm = SinePcm(seconds, frequency);
  std::vector<std::uint8_t> file;
  PutTag(file, "RIFF");
  Put32(file, static_cast<std::uint32_t>(36 + pcm.size()));
  PutTag(file, "WAVE");
  PutTag(file, "fmt ");
  Put32(file, 16);
  Put16(file, 1);  // PCM
  Put16(file, 2);
  Put32(file, 44100);
  Put32(file, 44100 * 4);
  Put16(file, 4);
  Put16(file, 16);
  PutTag(file, "data");
  Put32(file, static_cast<std::uint32_t>(pcm.size()));
  file.insert(file.end(), pcm.begin(), pcm.end());
  WriteBytes(path, std::string(file.begin(), file.end()));
}

bool WriteMp3(const std::string& path, double seconds, double frequency) {
  gst_init(nullptr, nullptr);
  const std::string description =
      "audiotestsrc num-buffers=" + std::to_string(static_cast<int>(seconds * 44100 / 1024)) +
      " samplesperbuffer=1024 volume=0.5 freq=" + std::to_string(frequency) +
      " ! audio/x-raw,rate=44100,channels=2 ! lamemp3enc target=1 bitrate=128 cbr=true"
      " ! xingmux ! filesink name=out";
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

std::string WriteDiscImage(const std::string& folder, const std::vector<double>& trackSeconds) {
  static const double kTones[] = {440, 660, 880, 550, 770};
  std::vector<std::uint8_t> bin;
  std::string cue = "FILE \"disc.bin\" BINARY\n";
  std::size_t sector = 0;
  for (std::size_t t = 0; t < trackSeconds.size(); ++t) {
    const std::size_t sectors = static_cast<std::size_t>(std::lround(trackSeconds[t] * 75));
    std::vector<std::uint8_t> pcm = SinePcm(static_cast<double>(sectors) / 75, kTones[t % 5]);
    pcm.resize(sectors * 2352, 0);
    bin.insert(bin.end(), pcm.begin(), pcm.end());
    char entry[96];
    std::snprintf(entry, sizeof entry, "  TRACK %02zu AUDIO\n    INDEX 01 %02zu:%02zu:%02zu\n",
                  t + 1, sector / 4500, sector / 75 % 60, sector % 75);
    cue += entry;
    sector += sectors;
  }
  WriteBytes(folder + "/disc.bin", std::string(bin.begin(), bin.end()));
  std::ofstream(folder + "/disc.cue") << cue;
  return folder + "/disc.cue";
}

}  // namespace orvane::testing
