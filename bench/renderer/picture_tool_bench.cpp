// What the picture tool costs on the largest picture it promises to convert: a 20000 x 20000
// PNG (a few plain colours, 1.2 MB) and a JPEG of the same picture, each turned into an
// Orvane.image by the real orvane-picture; prints its time and its peak memory (the child's
// ru_maxrss), best of the given runs.
// Usage: bench_picture_tool [side [runs]]   (default 20000, best of 3)

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "bench/renderer/png_maker.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace {

struct Cost {
  double seconds = 1e30, cpu = 1e30;
  long peakKilobytes = 0;
};

Cost runTool(const std::string& input, const std::string& output, int runs) {
  Cost best;
  for (int i = 0; i < runs; ++i) {
    const std::string tool = ORVANE_PICTURE_TOOL;
    char* argv[] = {const_cast<char*>(tool.c_str()), const_cast<char*>(input.c_str()),
                    const_cast<char*>(output.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    // Its one line of output is not part of the figures.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &quiet, nullptr, argv, environ) != 0) std::exit(1);
    posix_spawn_file_actions_destroy(&quiet);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "bench_picture_tool: orvane-picture failed on %s\n", input.c_str());
      std::exit(1);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    best.seconds = std::min(best.seconds, seconds);
    best.cpu = std::min(best.cpu, usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 +
                                      usage.ru_stime.tv_sec + usage.ru_stime.tv_usec * 1e-6);
    best.peakKilobytes = std::max(best.peakKilobytes, usage.ru_maxrss);
  }
  return best;
}

// Green top-left quarter, red top-right, blue below.
std::vector<std::uint8_t> row(unsigned side, bool top) {
  std::vector<std::uint8_t> out;
  for (unsigned x = 0; x < side; ++x) {
    const bool left = x < side / 2;
    out.insert(out.end(), {std::uint8_t(top && !left ? 255 : 0),
                           std::uint8_t(top && left ? 255 : 0), std::uint8_t(top ? 0 : 255)});
  }
  return out;
}

void writeJpeg(const std::string& path, unsigned side) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::exit(1);
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = info.image_height = side;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 85, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<std::uint8_t> top = row(side, true), below = row(side, false);
  while (info.next_scanline < side) {
    JSAMPROW rows[1] = {info.next_scanline < side / 2 ? top.data() : below.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

long fileSize(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return -1;
  std::fseek(file, 0, SEEK_END);
  const long size = std::ftell(file);
  std::fclose(file);
  return size;
}

}  // namespace

int main(int argc, char** argv) {
  const unsigned side = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 20000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  orvane::testing::TempFolder folder;
  const std::string png = folder / "big.png", jpeg = folder / "big.jpg";
  {
    const std::vector<std::uint8_t> top = row(side, true), below = row(side, false);
    const std::string bytes = orvane::bench::MakePng(
        side, side, [&](std::uint32_t y) { return y < side / 2 ? top.data() : below.data(); });
    std::FILE* file = std::fopen(png.c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
      return 1;
    std::fclose(file);
  }
  writeJpeg(jpeg, side);
  std::printf("orvane-picture on %u x %u, best of %d:\n", side, side, runs);
  for (const std::string& input : {png, jpeg}) {
    const Cost cost = runTool(input, folder / "Orvane.image", runs);
    std::printf("  %s, %.1f MB: %.2f s (CPU %.2f s), peak memory %.1f MB\n",
                input.substr(input.size() - 3).c_str(), fileSize(input) / 1e6, cost.seconds,
                cost.cpu, cost.peakKilobytes / 1024.0);
  }
  return 0;
}
