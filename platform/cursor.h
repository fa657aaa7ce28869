#pragma once

namespace orvane {

// Stand-in for ShowCursor: hides or shows the mouse cursor over the whole screen. Calls
// count like Windows' display counter: each hide needs its own show.
class Cursor {
 public:
  virtual ~Cursor() = default;
  virtual void ShowCursor(bool show) = 0;
};

}  // namespace orvane
