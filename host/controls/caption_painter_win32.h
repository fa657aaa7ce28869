#pragma once

#include <memory>
#include <type_traits>

#include "host/controls/caption_label.h"
#include "host/controls/font_info.h"
#include "host/controls/twips.h"
#include "platform/win32/windows_api.h"

namespace orvane {

// A font of the control's design as a GDI font at the screen's density; the caller deletes it.
HFONT MakeFont(const FontInfo& font, const TwipsScale& scale);

// Draws the label's text into a DC (whose origin is the control's top-left corner) as the face's
// caption says, with GDI; the label's font is made once and kept while it stays the same.
class CaptionPainter {
 public:
  void Draw(HDC dc, const CaptionPaint& paint, const CaptionLabel& label, const TwipsScale& scale);

 private:
  struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
  };
  std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter> font_;
  FontInfo fontMade_;
};

}  // namespace orvane
