// Draws the Command button's six 64 x 25 state pictures and writes them as a C++ source
// file of 24-bit pixel arrays, which the control builds in:
//
//   make_state_pictures OUT.cpp [PPM_FOLDER]
//
// With a folder, it also writes each picture there as a binary PPM for looking at.
//
// Each picture is a one-pixel outer ring, a one-pixel border and a two-pixel inner band on
// every side, with corners rounded over 4 x 4 pixels; the centre is never shown on the
// button, so it only carries a plain face for people looking at the picture itself.

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 25;
constexpr int kBand = 4;

struct Rgb {
  double r = 0, g = 0, b = 0;
};

Rgb Hex(std::uint32_t c) {
  return {double(c >> 16 & 0xFF), double(c >> 8 & 0xFF), double(c & 0xFF)};
}
Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Add(Rgb a, int dr, int dg, int db) {
  return {a.r + dr, a.g + dg, a.b + db};
}

using Image = std::array<std::array<Rgb, kWidth>, kHeight>;
// A side band's colour at one of its four columns (0 outermost) and a row.
using SideBand = std::function<Rgb(int depth, int row)>;

// A colour that runs through three rows' colours (rows 4, 12 and 20) and holds beyond.
Rgb Run(int row, std::uint32_t at4, std::uint32_t at12, std::uint32_t at20) {
  if (row <= 4) return Hex(at4);
  if (row >= 20) return Hex(at20);
  if (row <= 12) return Mix(Hex(at4), Hex(at12), (row - 4) / 8.0);
  return Mix(Hex(at12), Hex(at20), (row - 12) / 8.0);
}

struct Design {
  std::array<std::uint32_t, 4> Top;     // rows 0 to 3
  std::array<std::uint32_t, 4> Bottom;  // rows 24 down to 21 (outermost first)
  SideBand Left;                        // columns 0 to 3
  SideBand Right;                       // columns 63 down to 60
  std::uint32_t Outside;                // beyond the rounded corners
};

// Fills the bands, then rounds each corner: every pixel is the average of 4 x 4 samples,
// each taking the layer (ring, border, inner bands) at its depth inside a quarter circle of
// radius 4, the colour of that layer mixed from the two sides the corner joins.
Image Draw(const Design& d) {
  Image image;
  for (int y = 0; y < kHeight; ++y) {
    // The centre: a plain white to lavender grey face.
    const Rgb face = Mix(Hex(0xFFFFFF), Hex(0xC6C5D7), y / double(kHeight - 1));
    for (int x = 0; x < kWidth; ++x) image[y][x] = face;
  }
  for (int depth = 0; depth < kBand; ++depth) {
    for (int x = kBand; x < kWidth - kBand; ++x) {
      image[depth][x] = Hex(d.Top[depth]);
      image[kHeight - 1 - depth][x] = Hex(d.Bottom[depth]);
    }
    for (int y = kBand; y < kHeight - kBand; ++y) {
      image[y][depth] = d.Left(depth, y);
      image[y][kWidth - 1 - depth] = d.Right(depth, y);
    }
  }
  for (int corner = 0; corner < 4; ++corner) {
    const bool top = corner < 2;
    const bool left = corner % 2 == 0;
    const int edgeRow = top ? kBand : kHeight - 1 - kBand;
    for (int r = 0; r < kBand; ++r) {
      for (int c = 0; c < kBand; ++c) {
        Rgb sum;
        for (int sy = 0; sy < 4; ++sy) {
          for (int sx = 0; sx < 4; ++sx) {
            const double px = c + (sx + 0.5) / 4, py = r + (sy + 0.5) / 4;
            const double dx = kBand - px, dy = kBand - py;
            const double depth = kBand - std::sqrt(dx * dx + dy * dy);
            Rgb colour = Hex(d.Outside);
            if (depth >= 0) {
              const int layer = depth >= 3 ? 3 : int(depth);
              const Rgb across = top ? Hex(d.Top[layer]) : Hex(d.Bottom[layer]);
              const Rgb down = left ? d.Left(layer, edgeRow) : d.Right(layer, edgeRow);
              colour = Mix(across, down, dx / (dx + dy));
            }
            sum = {sum.r + colour.r / 16, sum.g + colour.g / 16, sum.b + colour.b / 16};
          }
        }
        const int y = top ? r : kHeight - 1 - r;
        const int x = left ? c : kWidth - 1 - c;
        image[y][x] = sum;
      }
    }
  }
  return image;
}

// Sets a top-left corner pattern (row by row) in all four corners, mirrored.
void SetCorners(Image& image, const std::array<std::array<std::uint32_t, 4>, 4>& pattern,
                bool onlyTopLeft) {
  for (int r = 0; r < kBand; ++r) {
    for (int c = 0; c < kBand; ++c) {
      if (pattern[r][c] == 0) continue;
      const Rgb colour = Hex(pattern[r][c]);
      image[r][c] = colour;
      if (onlyTopLeft) continue;
      image[r][kWidth - 1 - c] = colour;
      image[kHeight - 1 - r][c] = colour;
      image[kHeight - 1 - r][kWidth - 1 - c] = colour;
    }
  }
}

constexpr std::uint32_t kBorder = 0x003C74;

Design NormalDesign() {
  Design d;
  d.Top = {0xDCD6C2, kBorder, 0xF3F3EE, 0xF3F3EE};
  d.Bottom = {0xFAFAF6, kBorder, 0xD6D0C5, 0xE2DFD6};
  d.Left = [](int depth, int) {
    static const std::uint32_t c[] = {0xE2DECB, kBorder, 0xF4F4F0, 0xF4F4F0};
    return Hex(c[depth]);
  };
  d.Right = [](int depth, int) {
    static const std::uint32_t c[] = {0xF0EEE0, kBorder, 0xE8E5DF, 0xEEEDE7};
    return Hex(c[depth]);
  };
  d.Outside = 0xECE9D8;
  return d;
}

Image Normal() {
  Image image = Draw(NormalDesign());
  SetCorners(image,
             {{{0xE9E7D5, 0xE4DFCE, 0xE1DDCA, 0xE0DCC9},
               {0xE4DFCE, 0xE6E1D0, 0x7A95A8, 0x255783},
               {0xE2DECB, 0x7A95A8, 0x557DA2, 0xC0CFDD},
               {0xE2DECB, 0x255783, 0xBFCEDC, 0xFEFEFE}}},
             true);
  return image;
}

// HighLight (amber) and Selected (blue): the Normal frame with a two-pixel glow inside it.
Image Glow(std::array<std::uint32_t, 2> top, std::array<std::uint32_t, 2> bottom,
           std::function<Rgb(int)> outer, std::function<Rgb(int)> inner,
           std::function<Rgb(int)> rightInner) {
  Design d = NormalDesign();
  d.Top = {0xDCD6C2, kBorder, top[0], top[1]};
  d.Bottom = {0xFAFAF6, kBorder, bottom[1], bottom[0]};
  d.Left = [=](int depth, int row) {
    return depth == 0   ? Hex(0xE2DECB)
           : depth == 1 ? Hex(kBorder)
           : depth == 2 ? outer(row)
                        : inner(row);
  };
  d.Right = [=](int depth, int row) {
    return depth == 0   ? Hex(0xF0EEE0)
           : depth == 1 ? Hex(kBorder)
           : depth == 2 ? outer(row)
                        : rightInner(row);
  };
  return Draw(d);
}

Image HighLight() {
  const auto outer = [](int row) { return Run(row, 0xFEDF9A, 0xFCCA69, 0xF9B435); };
  const auto inner = [=](int row) { return Add(outer(row), -1, 0, 1); };
  return Glow({0xFFF0CF, 0xFDD889}, {0xF8B330, 0xE59700}, outer, inner, inner);
}

Image Selected() {
  const auto outer = [](int row) { return Run(row, 0xB7D0F4, 0xA9C5EF, 0x8BADE4); };
  const auto inner = [=](int row) { return Add(outer(row), -1, 1, 1); };
  return Glow({0xCEE7FF, 0xCEE7FF}, {0x6982EE, 0x6982EE}, outer, inner, outer);
}

// Pressed: the Normal frame moved one pixel inward, a new outer ring, a darker inside edge.
Image Pressed() {
  const Image normal = Normal();
  Image image = normal;
  const Rgb ring = Hex(0xECE9D8);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int sy = y <= kHeight / 2 ? y - 1 : y + 1;
      const int sx = x < kWidth / 2 ? x - 1 : x + 1;
      const bool outside = sy < 0 || sy >= kHeight || sx < 0 || sx >= kWidth;
      image[y][x] = outside ? ring : normal[sy][sx];
    }
  }
  for (int x = 0; x < kWidth; ++x) image[0][x] = image[kHeight - 1][x] = ring;
  for (int y = 0; y < kHeight; ++y) image[y][0] = image[y][kWidth - 1] = ring;
  for (int x = kBand; x < kWidth - kBand; ++x) {
    image[3][x] = Hex(0xD1CCC1);
    image[kHeight - kBand][x] = Hex(0xF2F1EE);
  }
  for (int y = kBand; y < kHeight - kBand; ++y) {
    image[y][3] = Hex(0xD7D4CB);
    image[y][kWidth - kBand] = Hex(0xE4E3DC);
  }
  return image;
}

Image Disable() {
  Design d;
  d.Top = {0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA};
  d.Bottom = {0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA};
  d.Left = d.Right = [](int depth, int) {
    static const std::uint32_t c[] = {0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA};
    return Hex(c[depth]);
  };
  d.Outside = 0xECE9D8;
  Image image = Draw(d);
  SetCorners(image,
             {{{0xECE9D8, 0xECE9D8, 0xECE9D8, 0xECE9D8},
               {0xECE9D8, 0xECE9D8, 0xD8D5C7, 0xCBC9BC},
               {0xECE9D8, 0xD8D5C7, 0xCBC9BC, 0xF5F4EA},
               {0xECE9D8, 0xCBC9BC, 0xF5F4EA, 0xF5F4EA}}},
             false);
  return image;
}

int Byte(double v) {
  const long n = std::lround(v);
  return n < 0 ? 0 : n > 255 ? 255 : int(n);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_state_pictures OUT.cpp [PPM_FOLDER]\n");
    return 2;
  }
  // In the order of the control's looks: Normal, HighLight, Selected, HighLightSelect,
  // Pressed, Disable. HighLight and HighLightSelect are the same picture.
  const std::array<std::pair<const char*, Image>, 6> pictures = {{{"Normal", Normal()},
                                                                  {"HighLight", HighLight()},
                                                                  {"Selected", Selected()},
                                                                  {"HighLightSelect", HighLight()},
                                                                  {"Pressed", Pressed()},
                                                                  {"Disable", Disable()}}};
  const std::string path = argv[1];
  const std::string temp = path + ".tmp";
  FILE* out = std::fopen(temp.c_str(), "w");
  if (out == nullptr) {
    std::perror(temp.c_str());
    return 1;
  }
  std::fprintf(out,
               "// Made by assets/controls/make_state_pictures.cpp; not to be edited.\n"
               "#include <cstdint>\n\nnamespace orvane {\n\n"
               "extern const std::uint8_t kStatePictureRgb[6][%d];\n"
               "const std::uint8_t kStatePictureRgb[6][%d] = {\n",
               kWidth * kHeight * 3, kWidth * kHeight * 3);
  for (const auto& [name, image] : pictures) {
    std::fprintf(out, "    // %s\n    {", name);
    int n = 0;
    for (const auto& row : image) {
      for (const Rgb& p : row) {
        std::fprintf(out, "%s%d,%d,%d,", n++ % 8 == 0 ? "\n     " : "", Byte(p.r), Byte(p.g),
                     Byte(p.b));
      }
    }
    std::fprintf(out, "},\n");
  }
  std::fprintf(out, "};\n\n}  // namespace orvane\n");
  const bool written = std::fclose(out) == 0;
#ifdef _WIN32
  // The C runtime's rename does not replace a file, and a build made again finds the old one.
  if (written) std::remove(path.c_str());
#endif
  if (!written || std::rename(temp.c_str(), path.c_str()) != 0) {
    std::perror(path.c_str());
    return 1;
  }
  if (argc >= 3) {
    for (const auto& [name, image] : pictures) {
      const std::string file = std::string(argv[2]) + "/" + name + ".ppm";
      FILE* ppm = std::fopen(file.c_str(), "wb");
      if (ppm == nullptr) continue;
      std::fprintf(ppm, "P6\n%d %d\n255\n", kWidth, kHeight);
      for (const auto& row : image) {
        for (const Rgb& p : row) {
          const unsigned char bytes[3] = {static_cast<unsigned char>(Byte(p.r)),
                                          static_cast<unsigned char>(Byte(p.g)),
                                          static_cast<unsigned char>(Byte(p.b))};
          std::fwrite(bytes, 1, 3, ppm);
        }
      }
      std::fclose(ppm);
    }
  }
  return 0;
}
