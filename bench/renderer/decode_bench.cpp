// Decoding speed of the picture reader on a 4096 x 4096 four-channel picture, run-length
// encoded and verbatim, next to ImageMagick decoding the same files.
// Usage: bench_sgi_decode [side]   (default 4096)

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "renderer/sgi_image.h"
#include "renderer/sgi_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
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

double runMagick(const std::string& file) {
  const std::string command = "/usr/bin/convert 'sgi:" + file + "' null: 2>/dev/null";
  return bestOf(3, [&] {
    if (std::system(command.c_str()) != 0)
      std::fprintf(stderr, "convert failed on %s\n", file.c_str());
  });
}

}  // namespace

int main(int argc, char** argv) {
  const unsigned side = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 4096;
  std::string pattern = (std::filesystem::temp_directory_path() / "orvane-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const std::filesystem::path work = pattern;

  const auto pixels = makePicture(side);
  const double megabytes = pixels.size() / 1e6;
  // ImageMagick's start-up, measured on a tiny file, so that its decoding time can be read
  // both with and without it.
  const std::vector<std::uint8_t> tinyPixels(4 * 4 * 4, 7);
  std::string error;
  const std::string tiny = (work / "tiny.sgi").string();
  orvane::renderer::writeFileAtomically(
      tiny,
      orvane::renderer::encodeSgi(tinyPixels.data(), 4, 4, 4,
                                  orvane::renderer::SgiStorage::runLength),
      error);
  const double magickStart = runMagick(tiny);

  std::printf("Decoding a %u x %u picture, 4 channels (%.1f MB of output pixels); best of 3\n",
              side, side, megabytes);
  std::printf("%-10s %10s %12s %12s %16s %18s\n", "storage", "file MB", "ours ms", "ours MB/s",
              "ImageMagick ms", "ImageMagick MB/s");
  for (auto storage :
       {orvane::renderer::SgiStorage::runLength, orvane::renderer::SgiStorage::verbatim}) {
    const bool rle = storage == orvane::renderer::SgiStorage::runLength;
    const std::string file = (work / (rle ? "rle.sgi" : "verbatim.sgi")).string();
    const auto bytes = orvane::renderer::encodeSgi(pixels.data(), side, side, 4, storage);
    if (!orvane::renderer::writeFileAtomically(file, bytes, error)) {
      std::fprintf(stderr, "bench_sgi_decode: %s: %s\n", file.c_str(), error.c_str());
      return 1;
    }
    const double ours = bestOf(3, [&] { orvane::renderer::loadTextureImage(file.c_str()); });
    const auto image = orvane::renderer::loadTextureImage(file.c_str());
    const bool same =
        image.pixels && std::equal(pixels.begin(), pixels.end(), image.pixels.get());
    const double magick = runMagick(file);
    std::printf("%-10s %10.1f %12.1f %12.0f %9.1f (%.0f) %10.0f (%.0f)%s\n",
                rle ? "RLE" : "verbatim", bytes.size() / 1e6, ours * 1e3, megabytes / ours,
                magick * 1e3, (magick - magickStart) * 1e3, megabytes / magick,
                megabytes / std::max(magick - magickStart, 1e-9),
                same ? "" : "  (decoded pixels differ!)");
  }
  std::printf("ImageMagick figures include its start-up of %.1f ms; in brackets without it\n",
              magickStart * 1e3);
  std::filesystem::remove_all(work);
  return 0;
}
