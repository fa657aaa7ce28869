#include "host/controls/surface.h"

#include <algorithm>

namespace orvane {

bool Surface::Resize(int width, int height) {
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide) return false;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * height, 0);
  return true;
}

void Surface::Clear(std::uint32_t rgb) {
  std::fill(pixels_.begin(), pixels_.end(), rgb & 0xFFFFFF);
}

namespace {

// The channel byte at step i of n between two 16-bit values.
std::uint32_t Blend(std::uint16_t from, std::uint16_t to, std::int64_t i, std::int64_t n) {
  const std::int64_t value = from + (static_cast<std::int64_t>(to) - from) * i / n;
  return static_cast<std::uint32_t>(value >> 8) & 0xFF;
}

std::uint32_t BlendColour(const TriVertex& from, const TriVertex& to, std::int64_t i,
                          std::int64_t n) {
  return (Blend(from.Red, to.Red, i, n) << 16) | (Blend(from.Green, to.Green, i, n) << 8) |
         Blend(from.Blue, to.Blue, i, n);
}

// The source pixel that destination pixel i of n takes from s source pixels, as GDI's
// StretchBlt picks it in its colour-on-colour mode. Stretched, the pixel under its centre.
// Squeezed, rows take the first pixel of their share (rounded), so the first source row stays;
// columns the last, so the last source column stays.
std::int64_t SourceIndex(std::int64_t i, std::int64_t s, std::int64_t n, bool columns) {
  if (n >= s) return ((2 * i + 1) * s) / (2 * n);
  if (columns) return (2 * (i + 1) * s + n) / (2 * n) - 1;
  return (2 * i * s + n) / (2 * n);
}

}  // namespace

bool Surface::GradientFill(std::span<const TriVertex> vertices,
                           std::span<const GradientRectangle> rectangles, GradientMode mode) {
  for (const GradientRectangle& r : rectangles) {
    if (r.UpperLeft >= vertices.size() || r.LowerRight >= vertices.size()) return false;
    const TriVertex& a = vertices[r.UpperLeft];
    const TriVertex& b = vertices[r.LowerRight];
    const std::int64_t x0 = std::min(a.X, b.X), x1 = std::max(a.X, b.X);
    const std::int64_t y0 = std::min(a.Y, b.Y), y1 = std::max(a.Y, b.Y);
    if (x0 == x1 || y0 == y1) continue;
    const std::int64_t cx0 = std::max<std::int64_t>(x0, 0),
                       cx1 = std::min<std::int64_t>(x1, width_);
    const std::int64_t cy0 = std::max<std::int64_t>(y0, 0),
                       cy1 = std::min<std::int64_t>(y1, height_);
    if (mode == GradientMode::Vertical) {
      const TriVertex& top = a.Y <= b.Y ? a : b;
      const TriVertex& bottom = a.Y <= b.Y ? b : a;
      for (std::int64_t y = cy0; y < cy1; ++y) {
        const std::uint32_t c = BlendColour(top, bottom, y - y0, y1 - y0);
        std::fill_n(pixels_.begin() + y * width_ + cx0, cx1 - cx0, c);
      }
    } else {
      const TriVertex& left = a.X <= b.X ? a : b;
      const TriVertex& right = a.X <= b.X ? b : a;
      for (std::int64_t x = cx0; x < cx1; ++x) {
        const std::uint32_t c = BlendColour(left, right, x - x0, x1 - x0);
        for (std::int64_t y = cy0; y < cy1; ++y) pixels_[y * width_ + x] = c;
      }
    }
  }
  return true;
}

bool Surface::StretchCopy(const Picture& source, Rect from, Rect to) {
  if (!source.Valid()) return false;
  if (from.Width <= 0 || from.Height <= 0 || to.Width <= 0 || to.Height <= 0) return false;
  if (from.X < 0 || from.Y < 0 || from.X > source.Width - from.Width ||
      from.Y > source.Height - from.Height) {
    return false;
  }
  const std::int64_t x0 = std::max(to.X, 0);
  const std::int64_t x1 =
      std::min<std::int64_t>(static_cast<std::int64_t>(to.X) + to.Width, width_);
  const std::int64_t y0 = std::max(to.Y, 0);
  const std::int64_t y1 =
      std::min<std::int64_t>(static_cast<std::int64_t>(to.Y) + to.Height, height_);
  for (std::int64_t y = y0; y < y1; ++y) {
    const std::int64_t sy = from.Y + SourceIndex(y - to.Y, from.Height, to.Height, false);
    for (std::int64_t x = x0; x < x1; ++x) {
      const std::int64_t sx = from.X + SourceIndex(x - to.X, from.Width, to.Width, true);
      pixels_[y * width_ + x] = source.At(static_cast<int>(sx), static_cast<int>(sy));
    }
  }
  return true;
}

}  // namespace orvane
