#pragma once

// The Command button's face drawn with GDI: the steps the core draws into its Surface,
// repeated with GradientFill and StretchBlt into a memory bitmap that the window shows.

#include <cstdint>
#include <map>
#include <memory>
#include <span>

#include "host/controls/face_canvas.h"
#include "host/controls/picture.h"
#include "host/controls/picture_bitmap_win32.h"
#include "platform/win32/windows_api.h"

namespace orvane {

// The face as GDI draws it. Each state picture becomes a bitmap once, the first time a piece
// of it is drawn.
class GdiFace final : public FaceCanvas {
 public:
  void Resize(int width, int height) override { face_.Make(width, height); }
  void Clear(std::uint32_t rgb) override;
  void GradientFill(std::span<const TriVertex> vertices,
                    std::span<const GradientRectangle> rectangles, GradientMode mode) override;
  void StretchCopy(const Picture& source, Rect from, Rect to) override;

  const MemoryBitmap& Bitmap() const { return face_; }

 private:
  const MemoryBitmap* PictureBitmap(const Picture& picture);

  MemoryBitmap face_;
  std::map<const Picture*, std::unique_ptr<MemoryBitmap>> pictures_;
};

}  // namespace orvane
