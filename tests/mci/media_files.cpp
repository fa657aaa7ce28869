#include "tests/mci/media_files.h"

#include <gst/gst.h>
#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
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

TempFolder::TempFolder() {
  std::string pattern = std::string(P_tmpdir) + "/orvane-media-XXXXXX";
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::vector<std::uint8_t> SinePcm(double seconds, double frequency, double amplitude) {
  const auto frames = static_cast<std::size_t>(seconds * 44100);
  std::vector<std::uint8_t> pcm;
  pcm.reserve(frames * 4);
  for (std::size_t i = 0; i < frames; ++i) {
    const double v = amplitude * std::sin(2 * M_PI * frequency * static_cast<double>(i) / 44100);
    const auto s = static_cast<std::int16_t>(std::lround(v * 32767));
    Put16(pcm, static_cast<std::uint16_t>(s));
    Put16(pcm, static_cast<std::uint16_t>(s));
  }
  return pcm;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
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
  WriteBytes(path, file);
}

bool WriteMp3(const std::string& path, double seconds, double frequency) {
  gst_init(nullptr, nullptr);
  const auto buffers = static_cast<int>(seconds * 44100 / 1024);
  GstElement* source = gst_element_factory_make("audiotestsrc", nullptr);
  GstElement* caps = gst_element_factory_make("capsfilter", nullptr);
  GstElement* encoder = gst_element_factory_make("lamemp3enc", nullptr);
  GstElement* mux = gst_element_factory_make("xingmux", nullptr);
  GstElement* sink = gst_element_factory_make("filesink", nullptr);
  GstElement* pipeline = gst_pipeline_new(nullptr);
  if (!source || !caps || !encoder || !mux || !sink || !pipeline) return false;
  g_object_set(source, "num-buffers", buffers, "samplesperbuffer", 1024, "freq", frequency,
               "volume", 0.5, nullptr);
  GstCaps* raw = gst_caps_from_string("audio/x-raw,rate=44100,channels=2");
  g_object_set(caps, "caps", raw, nullptr);
  gst_caps_unref(raw);
  g_object_set(encoder, "target", 1, "bitrate", 128, "cbr", TRUE, nullptr);
  g_object_set(sink, "location", path.c_str(), nullptr);
  gst_bin_add_many(GST_BIN(pipeline), source, caps, encoder, mux, sink, nullptr);
  bool ok = gst_element_link_many(source, caps, encoder, mux, sink, nullptr);
  if (ok) {
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* done = gst_bus_timed_pop_filtered(
        bus, 30 * GST_SECOND, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    ok = done != nullptr && GST_MESSAGE_TYPE(done) == GST_MESSAGE_EOS;
    if (done != nullptr) gst_message_unref(done);
    gst_object_unref(bus);
  }
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
  WriteBytes(folder + "/disc.bin", bin);
  std::ofstream(folder + "/disc.cue") << cue;
  return folder + "/disc.cue";
}

}  // namespace orvane::testing
