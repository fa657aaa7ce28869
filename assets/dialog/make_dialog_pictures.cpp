// Draws the settings dialog's pictures and writes them as a C++ source file of pixel arrays,
// which the dialog builds in:
//
//   make_dialog_pictures OUT.cpp [PPM_FOLDER]
//
// - the music panel's background tile: 556 x 20 pixels of light grey with a fine grain,
//   fading from about (223, 223, 223) at the left edge to about (176, 175, 175) at the right;
// - the two 12 x 12 choice marks: an empty light square in a grey frame, and the same frame
//   filled with blue;
// - the web link's 32 x 32 pointer, a pointing hand whose fingertip is its hot spot (12, 10).
//
// With a folder, it also writes each picture there as a binary PPM for looking at (the
// pointer over white).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Image {
  int width = 0, height = 0, channels = 3;
  std::vector<std::uint8_t> bytes;
  Image(int w, int h, int c) : width(w), height(h), channels(c), bytes(size_t(w) * h * c, 0) {}
  std::uint8_t* at(int x, int y) { return &bytes[(size_t(y) * width + x) * channels]; }
};

std::uint8_t Clamp(double v) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// A small fixed hash, so the grain is the same on every build.
std::uint32_t Hash(std::uint32_t x, std::uint32_t y) {
  std::uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ 0x9E3779B9u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

Image BackgroundTile() {
  constexpr int kWidth = 556, kHeight = 20;
  Image tile(kWidth, kHeight, 3);
  const double left[3] = {223, 223, 223}, right[3] = {176, 175, 175};
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const double t = double(x) / (kWidth - 1);
      const std::uint32_t h = Hash(std::uint32_t(x), std::uint32_t(y));
      // Grain: up to three levels either way, the same on every channel but for a faint tint.
      const double grain = double(h % 7) - 3.0;
      const double tint = double((h >> 8) % 3) - 1.0;
      std::uint8_t* p = tile.at(x, y);
      for (int c = 0; c < 3; ++c) {
        p[c] = Clamp(left[c] + (right[c] - left[c]) * t + grain + (c == 2 ? tint * 0.5 : 0.0));
      }
    }
  }
  return tile;
}

void Put(Image& image, int x, int y, std::uint32_t rgb) {
  std::uint8_t* p = image.at(x, y);
  p[0] = std::uint8_t(rgb >> 16);
  p[1] = std::uint8_t(rgb >> 8);
  p[2] = std::uint8_t(rgb);
}

// chosen false: the light square; true: filled with blue, lighter at the top.
Image ChoiceMark(bool chosen) {
  constexpr int kSize = 12;
  Image mark(kSize, kSize, 3);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const int ring = std::min({x, y, kSize - 1 - x, kSize - 1 - y});
      std::uint32_t colour;
      if (ring == 0) {
        colour = 0x7F7F7F;  // the grey frame
      } else if (ring == 1) {
        colour = chosen ? 0x9DB4E8 : 0xC8C8C8;  // its inner edge
      } else if (chosen) {
        const double t = (y - 2) / 7.0;
        colour = (std::uint32_t(Clamp(0x3C + (0x10 - 0x3C) * t)) << 16) |
                 (std::uint32_t(Clamp(0x78 + (0x3C - 0x78) * t)) << 8) |
                 std::uint32_t(Clamp(0xF0 + (0xB4 - 0xF0) * t));
      } else {
        colour = 0xF8F8F8;
      }
      Put(mark, x, y, colour);
    }
  }
  return mark;
}

// The hand: a union of boxes, outlined in black where it meets the outside, white within,
// with black lines between the folded fingers.
Image LinkCursor() {
  constexpr int kSize = 32;
  struct Box {
    int x0, y0, x1, y1;  // inclusive
  };
  const Box boxes[] = {
      {12, 10, 15, 22},  // index finger, its tip the hot spot's row
      {15, 14, 18, 22},  // middle finger
      {18, 15, 21, 22},  // ring finger
      {21, 17, 24, 22},  // little finger
      {12, 20, 24, 28},  // palm
      {9, 18, 12, 23},   // thumb
      {14, 28, 23, 30},  // wrist
  };
  auto inside = [&](int x, int y) {
    for (const Box& b : boxes) {
      if (x >= b.x0 && x <= b.x1 && y >= b.y0 && y <= b.y1) return true;
    }
    return false;
  };
  Image cursor(kSize, kSize, 4);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      std::uint8_t* p = cursor.at(x, y);
      if (!inside(x, y)) continue;  // transparent
      const bool edge =
          !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
      const bool fold = (x == 15 || x == 18 || x == 21) && y >= 14 && y <= 21;
      const std::uint8_t level = edge || fold ? 0 : 255;
      p[0] = p[1] = p[2] = level;
      p[3] = 255;
    }
  }
  return cursor;
}

void WriteArray(FILE* out, const char* name, const Image& image) {
  std::fprintf(out, "extern const std::uint8_t %s[%zu] = {", name, image.bytes.size());
  for (size_t i = 0; i < image.bytes.size(); ++i) {
    std::fprintf(out, "%s%u,", i % 24 == 0 ? "\n    " : "", unsigned(image.bytes[i]));
  }
  std::fprintf(out, "\n};\n\n");
}

bool WritePpm(const std::string& path, const Image& image) {
  FILE* ppm = std::fopen(path.c_str(), "wb");
  if (ppm == nullptr) return false;
  std::fprintf(ppm, "P6\n%d %d\n255\n", image.width, image.height);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* p = &image.bytes[(size_t(y) * image.width + x) * image.channels];
      std::uint8_t rgb[3] = {p[0], p[1], p[2]};
      if (image.channels == 4 && p[3] == 0) rgb[0] = rgb[1] = rgb[2] = 255;
      std::fwrite(rgb, 1, 3, ppm);
    }
  }
  return std::fclose(ppm) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: make_dialog_pictures OUT.cpp [PPM_FOLDER]\n");
    return 2;
  }
  const Image tile = BackgroundTile();
  const Image notChosen = ChoiceMark(false);
  const Image chosen = ChoiceMark(true);
  const Image cursor = LinkCursor();

  FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  std::fprintf(out,
               "// Written by make_dialog_pictures; do not edit.\n"
               "#include <cstdint>\n\nnamespace orvane::dialog_picture_data {\n\n");
  WriteArray(out, "kBackgroundTile", tile);
  WriteArray(out, "kMarkNotChosen", notChosen);
  WriteArray(out, "kMarkChosen", chosen);
  WriteArray(out, "kLinkCursor", cursor);
  std::fprintf(out, "}  // namespace orvane::dialog_picture_data\n");
  if (std::fclose(out) != 0) {
    std::perror(argv[1]);
    return 1;
  }

  if (argc == 3) {
    const std::string folder = argv[2];
    bool ok = WritePpm(folder + "/Pic_Mbl.ppm", tile);
    ok = WritePpm(folder + "/Img_Ra0.ppm", notChosen) && ok;
    ok = WritePpm(folder + "/Img_Ra1.ppm", chosen) && ok;
    ok = WritePpm(folder + "/lbl_URL_cursor.ppm", cursor) && ok;
    if (!ok) return 1;
  }
  return 0;
}
