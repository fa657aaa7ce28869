#pragma once

#include <cstdint>
#include <span>

#include "host/controls/picture.h"
#include "host/controls/surface.h"

namespace orvane {

// A second drawing target that repeats each step the control draws into its Surface, with
// the windowing system's own functions (GDI on Windows). The control hands a step on only
// once its Surface has taken it, so that both hold the same picture.
class FaceCanvas {
 public:
  virtual ~FaceCanvas() = default;
  virtual void Resize(int width, int height) = 0;
  virtual void Clear(std::uint32_t rgb) = 0;
  virtual void GradientFill(std::span<const TriVertex> vertices,
                            std::span<const GradientRectangle> rectangles, GradientMode mode) = 0;
  virtual void StretchCopy(const Picture& source, Rect from, Rect to) = 0;
};

}  // namespace orvane
