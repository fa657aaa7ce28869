#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "host/controls/picture.h"
#include "platform/rect.h"

namespace orvane {

// One corner point of a gradient: position in pixels and 16-bit colour channels whose
// high byte is the colour byte (0xC6 is written 0xC600).
struct TriVertex {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::uint16_t Red = 0;
  std::uint16_t Green = 0;
  std::uint16_t Blue = 0;
  std::uint16_t Alpha = 0;
};

// Indices of the two vertices that span one gradient rectangle.
struct GradientRectangle {
  std::uint32_t UpperLeft = 0;
  std::uint32_t LowerRight = 0;
};

enum class GradientMode { Horizontal = 0, Vertical = 1 };

// The control's persistent off-screen image: 0x00RRGGBB pixels, four bytes each, so that
// the shell can show it as a cairo RGB24 image without copying.
class Surface {
 public:
  // Larger surfaces are refused: no control on any screen needs more.
  static constexpr int kMaxSide = 16384;

  Surface() = default;
  Surface(int width, int height) { Resize(width, height); }

  // Returns false (and keeps the old image) for a negative or too large size.
  bool Resize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const { return width_ * 4; }
  std::uint32_t* Data() { return pixels_.data(); }
  const std::uint32_t* Data() const { return pixels_.data(); }
  std::uint32_t Pixel(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
  }

  // Fills the whole surface.
  void Clear(std::uint32_t rgb);

  // Fills each rectangle with a two-colour gradient. The rectangle runs from the smaller to
  // the larger vertex coordinate, right and bottom edges excluded; in vertical mode the top
  // row has the colour of the vertex with the smaller y, in horizontal mode the left column
  // that of the vertex with the smaller x. Returns false, drawing nothing more, for a vertex
  // index outside the list.
  bool GradientFill(std::span<const TriVertex> vertices,
                    std::span<const GradientRectangle> rectangles, GradientMode mode);

  // Copies a source rectangle of the picture to a destination rectangle of the surface:
  // 1:1 where the sizes are equal; stretched, each pixel takes the source pixel under its
  // centre; squeezed, pixels are dropped as GDI's StretchBlt drops them in COLORONCOLOR mode. The
  // destination is clipped to the surface. Returns false for an empty or negative size or a source
  // outside the picture.
  bool StretchCopy(const Picture& source, Rect from, Rect to);

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace orvane
