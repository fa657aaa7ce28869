#pragma once

#include "platform/rect.h"
#include "platform/window_handle.h"

namespace orvane {

// Stand-in for DrawAnimatedRects(window, IDANI_CAPTION, from, to): a short outline that
// moves from one rectangle to the other (about 200 ms; it returns when it is done and never
// blocks longer). Other windows are left untouched.
class RectAnimation {
 public:
  virtual ~RectAnimation() = default;
  virtual void DrawAnimatedRects(WindowHandle window, const Rect& from, const Rect& to) = 0;
};

}  // namespace orvane
