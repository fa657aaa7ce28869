// orvane-picture: turns a PNG or JPEG picture into an Orvane.image for the tunnel walls
// (an RLE-encoded SGI image, every side a power of two).

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/user_config.h"
#include "common/xdg_folder.h"
#include "renderer/sgi_writer.h"
#include "renderer/tools/picture_size.h"

namespace {

using namespace orvane::renderer;

int usage() {
  std::fprintf(stderr,
               "usage: orvane-picture [--size N] INPUT [OUTPUT]\n"
               "Turns a PNG or JPEG picture into an Orvane.image (RLE SGI) for the tunnel.\n"
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
      if (*end != '\0' || side > kLargestSide || !validSide(static_cast<int>(side))) {
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

  GError* error = nullptr;
  GdkPixbuf* source = gdk_pixbuf_new_from_file(input.c_str(), &error);
  if (source == nullptr) {
    std::fprintf(stderr, "orvane-picture: %s: %s\n", input.c_str(),
                 error != nullptr ? error->message : "cannot read the picture");
    if (error != nullptr) g_error_free(error);
    return 1;
  }
  // Follow the orientation a camera recorded, so the picture is the right way up.
  GdkPixbuf* upright = gdk_pixbuf_apply_embedded_orientation(source);
  g_object_unref(source);

  const int width = forcedSide ? forcedSide : powerOfTwoSide(gdk_pixbuf_get_width(upright));
  const int height = forcedSide ? forcedSide : powerOfTwoSide(gdk_pixbuf_get_height(upright));
  // Transparent parts are laid over black: the tunnel shows no alpha.
  GdkPixbuf* scaled =
      gdk_pixbuf_composite_color_simple(upright, width, height, GDK_INTERP_HYPER, 255, 8, 0, 0);
  g_object_unref(upright);
  if (scaled == nullptr) {
    std::fprintf(stderr, "orvane-picture: not enough memory to scale %s\n", input.c_str());
    return 1;
  }

  // SGI files keep the bottom row first.
  const int stride = gdk_pixbuf_get_rowstride(scaled);
  const int step = gdk_pixbuf_get_n_channels(scaled);
  const guchar* bytes = gdk_pixbuf_read_pixels(scaled);
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    const guchar* row = bytes + static_cast<std::size_t>(height - 1 - y) * stride;
    std::uint8_t* out = rgb.data() + static_cast<std::size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x) std::memcpy(out + 3 * x, row + step * x, 3);
  }
  g_object_unref(scaled);

  const std::vector<std::uint8_t> file =
      encodeSgi(rgb.data(), width, height, 3, SgiStorage::runLength);
  std::string reason;
  if (!writeFileAtomically(output, file, reason)) {
    std::fprintf(stderr, "orvane-picture: %s: %s\n", output.c_str(), reason.c_str());
    return 1;
  }
  std::printf("orvane-picture: wrote %s (%d x %d)\n", output.c_str(), width, height);
  return 0;
}
