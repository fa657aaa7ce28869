// What a big picture costs the renderer: a 4096 x 4096 four-channel picture, run-length
// encoded and verbatim, loaded by the real Orvane.dll under Xvfb (time to its first frame,
// less the time with a 16 x 16 picture, split into decode, upload and first frame), by our
// reader alone, and decoded by ImageMagick, side by side in one run.
// Usage: bench_picture_load [side [runs]]   (default 4096, best of 5)

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "renderer/sgi_image.h"
#include "renderer/sgi_writer.h"
#include "tests/support/child.h"
#include "tests/support/xvfb.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using orvane::renderer::encodeSgi;
using orvane::renderer::SgiStorage;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double monotonicNow() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

// Something like a photograph for the encoder: smooth areas that give long runs, busy
// texture that gives literal packets, and an alpha channel that is mostly opaque.
std::vector<std::uint8_t> makePicture(unsigned side) {
  std::vector<std::uint8_t> pixels(std::size_t{side} * side * 4);
  std::uint32_t noise = 12345;
  for (unsigned y = 0; y < side; ++y) {
    for (unsigned x = 0; x < side; ++x) {
      std::uint8_t* p = &pixels[(std::size_t{y} * side + x) * 4];
      noise = noise * 1664525u + 1013904223u;
      const bool busy = ((x / 256) + (y / 256)) % 3 == 0;
      const std::uint8_t grain = busy ? static_cast<std::uint8_t>(noise >> 24) : 0;
      p[0] = static_cast<std::uint8_t>((x / 16) + grain);
      p[1] = static_cast<std::uint8_t>((y / 16) + grain / 2);
      p[2] = static_cast<std::uint8_t>(((x + y) / 32) ^ grain);
      p[3] = (x / 512) % 4 == 3 ? static_cast<std::uint8_t>(y / 16) : 255;
    }
  }
  return pixels;
}

double bestOf(int runs, auto&& work) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work();
    best = std::min(best, secondsSince(start));
  }
  return best;
}

double runMagick(const std::string& file, int runs) {
  const std::string command = "/usr/bin/convert 'sgi:" + file + "' null: 2>/dev/null";
  return bestOf(runs, [&] {
    if (std::system(command.c_str()) != 0)
      std::fprintf(stderr, "convert failed on %s\n", file.c_str());
  });
}

void writeOrDie(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  if (!orvane::WriteFileAtomically(path,
                                   {reinterpret_cast<const char*>(bytes.data()), bytes.size()})) {
    std::fprintf(stderr, "bench_picture_load: %s: %s\n", path.c_str(), std::strerror(errno));
    std::exit(1);
  }
}

// One start of the renderer, in seconds: from its start to the upload's start (everything
// before, the picture's decoding included), the upload, and from there to the first frame.
struct Load {
  double total = 1e30, decode = 1e30, upload = 1e30, frame = 1e30;
};

Load startRenderer(const orvane::testing::Xvfb& xvfb, const std::filesystem::path& work) {
  const std::string log = (work / "load.log").string();
  std::filesystem::remove(log);
  const double started = monotonicNow();
  orvane::testing::Child child({ORVANE_BIN_DIR "/Orvane.dll"},
                               {"DISPLAY=" + xvfb.display(), "XDG_CACHE_HOME=" + work.string(),
                                "LD_PRELOAD=" ORVANE_LOAD_PROBE, "ORVANE_LOAD_LOG=" + log});
  Load result;
  if (child.Wait(60s) != 0) {
    std::fprintf(stderr, "Orvane.dll did not reach its first frame\n%s", child.Stderr().c_str());
    return result;
  }
  double uploadStart = 0, uploadEnd = 0, swapped = 0;
  std::ifstream in(log);
  if (in >> uploadStart >> uploadEnd >> swapped && uploadStart > 0) {
    result.total = swapped - started;
    result.decode = uploadStart - started;
    result.upload = uploadEnd - uploadStart;
    result.frame = swapped - uploadEnd;
  }
  return result;
}

// Each figure the best of its runs, less the same figure for the small picture.
Load measureRenderer(const orvane::testing::Xvfb& xvfb, const std::filesystem::path& work,
                     const std::vector<std::uint8_t>& big, const std::vector<std::uint8_t>& small,
                     int runs) {
  const std::string copy = (work / "t_ovin" / "Orvane.image").string();
  Load best[2];
  for (int i = 0; i < runs; ++i) {
    for (const int isBig : {0, 1}) {
      writeOrDie(copy, isBig ? big : small);
      const Load s = startRenderer(xvfb, work);
      Load& b = best[isBig];
      b.total = std::min(b.total, s.total);
      b.decode = std::min(b.decode, s.decode);
      b.upload = std::min(b.upload, s.upload);
      b.frame = std::min(b.frame, s.frame);
    }
  }
  return {best[1].total - best[0].total, best[1].decode - best[0].decode,
          best[1].upload - best[0].upload, best[1].frame - best[0].frame};
}

}  // namespace

int main(int argc, char** argv) {
  const unsigned side = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 4096;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  orvane::testing::Xvfb xvfb(1024, 768);
  if (!xvfb.running()) {
    std::fprintf(stderr, "bench_picture_load: Xvfb did not start\n");
    return 1;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "orvane-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const std::filesystem::path work = pattern;
  std::filesystem::create_directories(work / "t_ovin");

  const auto pixels = makePicture(side);
  const auto smallPixels = makePicture(16);
  // ImageMagick's start-up, measured on the small file, is taken off its figures.
  const std::string tiny = (work / "tiny.sgi").string();
  writeOrDie(tiny, encodeSgi(smallPixels.data(), 16, 16, 4, SgiStorage::runLength));
  const double magickStart = runMagick(tiny, runs);

  std::printf("Loading a %u x %u picture, 4 channels (%.1f MB of pixels); best of %d\n", side, side,
              pixels.size() / 1e6, runs);
  std::printf("%-9s %8s %9s %9s %11s %10s %9s %9s %8s\n", "storage", "file MB", "Magick ms",
              "reader ms", "renderer ms", "decode ms", "upload ms", "frame ms", "/Magick");
  bool allSame = true;
  for (const auto storage : {SgiStorage::runLength, SgiStorage::verbatim}) {
    const bool rle = storage == SgiStorage::runLength;
    const std::string file = (work / (rle ? "rle.sgi" : "verbatim.sgi")).string();
    const auto bytes = encodeSgi(pixels.data(), side, side, 4, storage);
    writeOrDie(file, bytes);
    const double magick = runMagick(file, runs) - magickStart;
    const double reader = bestOf(runs, [&] { orvane::renderer::loadTextureImage(file.c_str()); });
    const auto image = orvane::renderer::loadTextureImage(file.c_str());
    const bool same = image.pixels && std::equal(pixels.begin(), pixels.end(), image.pixels.get());
    allSame = allSame && same;
    const Load load =
        measureRenderer(xvfb, work, bytes, encodeSgi(smallPixels.data(), 16, 16, 4, storage), runs);
    std::printf("%-9s %8.1f %9.0f %9.0f %11.0f %10.0f %9.0f %9.0f %8.2f%s\n",
                rle ? "RLE" : "verbatim", bytes.size() / 1e6, magick * 1e3, reader * 1e3,
                load.total * 1e3, load.decode * 1e3, load.upload * 1e3, load.frame * 1e3,
                load.total / magick, same ? "" : "  (decoded pixels differ!)");
  }
  std::printf(
      "Magick: /usr/bin/convert FILE null:, less its %.0f ms start-up. Renderer: start to first\n"
      "frame less the same with a 16 x 16 picture; decode is everything up to the upload.\n",
      magickStart * 1e3);
  std::filesystem::remove_all(work);
  return allSame ? 0 : 1;
}
