// orvane-picture: turns a PNG or JPEG picture into an Orvane.image for the tunnel walls
// (an RLE-encoded SGI image, every side a power of two).

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/user_config.h"
#include "common/xdg_folder.h"
#include "platform/atomic_file.h"
#include "renderer/sgi_writer.h"
#include "renderer/tools/picture_decode.h"

namespace {

using namespace orvane::renderer;

// Every side a power of two, as the oldest OpenGL implementations require.
constexpr int kSmallestSide = 16;
constexpr int kLargestSide = 4096;

// The power of two nearest to side (ties go up), from kSmallestSide to 1024.
int powerOfTwoSide(int side) {
  int chosen = kSmallestSide;
  while (chosen < 1024 && chosen * 2 <= side) chosen *= 2;
  // side lies between chosen and 2 × chosen: take the nearer one.
  if (chosen < 1024 && side - chosen >= chosen * 2 - side) chosen *= 2;
  return chosen;
}

int usage() {
  std::fprintf(stderr,
               "usage: orvane-picture [--size N] INPUT [OUTPUT]\n"
               "Turns a PNG or JPEG picture into an Orvane.image (RLE SGI) for the tunnel;\n"
               "a damaged or cut-off picture, or one over 65535 pixels on a side or\n"
               "400 million pixels in all, is refused.\n"
               "Without OUTPUT it becomes your own picture, %s,\n"
               "which the saver shows in place of the installed one.\n"
               "The picture is scaled so that each side is a power of two (at most 1024),\n"
               "or to N x N with --size (a power of two from %d to %d).\n",
               orvane::common::UserPicturePath().c_str(), kSmallestSide, kLargestSide);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int forcedSide = 0;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
      char* end = nullptr;
      const long side = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || side < kSmallestSide || side > kLargestSide || (side & (side - 1)) != 0) {
        std::fprintf(stderr, "orvane-picture: --size must be a power of two from %d to %d\n",
                     kSmallestSide, kLargestSide);
        return 2;
      }
      forcedSide = static_cast<int>(side);
    } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
      return usage();
    } else {
      files.emplace_back(argv[i]);
    }
  }
  if (files.empty() || files.size() > 2) return usage();
  const std::string& input = files[0];
  const std::string output = files.size() == 2 ? files[1] : orvane::common::UserPicturePath();
  if (files.size() == 1 &&
      !orvane::common::MakePrivateFolders(orvane::common::UserConfigFolder())) {
    std::fprintf(stderr, "orvane-picture: cannot make the folder %s\n",
                 orvane::common::UserConfigFolder().c_str());
    return 1;
  }

  // The picture is read before the output is touched: a refused one leaves the old in place.
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(input.c_str(), "rb"),
                                                               std::fclose);
  if (stream == nullptr) {
    std::fprintf(stderr, "orvane-picture: %s: %s\n", input.c_str(), std::strerror(errno));
    return 1;
  }
  Picture picture;
  const std::string refused = decodePicture(
      stream.get(),
      [&](int w, int h, int& outWidth, int& outHeight) {
        outWidth = forcedSide ? forcedSide : powerOfTwoSide(w);
        outHeight = forcedSide ? forcedSide : powerOfTwoSide(h);
      },
      picture);
  if (!refused.empty()) {
    std::fprintf(stderr, "orvane-picture: %s: %s\n", input.c_str(), refused.c_str());
    return 1;
  }
  const int width = picture.width, height = picture.height;

  // SGI files keep the bottom row first: the rows change places where they are.
  std::vector<std::uint8_t>& rgb = picture.rgb;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  for (int y = 0; y < height / 2; ++y)
    std::swap_ranges(rgb.begin() + y * rowBytes, rgb.begin() + (y + 1) * rowBytes,
                     rgb.begin() + (height - 1 - y) * rowBytes);

  const std::vector<std::uint8_t> file =
      encodeSgi(rgb.data(), width, height, 3, SgiStorage::runLength);
  if (!orvane::WriteFileAtomically(output,
                                   {reinterpret_cast<const char*>(file.data()), file.size()})) {
    std::fprintf(stderr, "orvane-picture: %s: %s\n", output.c_str(), std::strerror(errno));
    return 1;
  }
  std::printf("orvane-picture: wrote %s (%d x %d)\n", output.c_str(), width, height);
  return 0;
}
