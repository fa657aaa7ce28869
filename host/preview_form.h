#pragma once

#include <functional>
#include <memory>

#include "host/preview_layout.h"
#include "platform/window_handle.h"

namespace orvane {

inline constexpr char kPreviewTitle[] = "Preview Window";

// The preview form Orvane_R: a borderless black window whose picture control Img_Prev shows the
// built-in 152 x 112 picture unscaled from its top-left corner; tests use a fake.
class PreviewForm {
 public:
  virtual ~PreviewForm() = default;
  // The form's own window: created, not shown, and a top-level window until it is given a
  // parent; 0 when it could not be made, which counts as no form.
  virtual WindowHandle Window() const = 0;
  // The size of Img_Prev's picture in pixels; 0 x 0 when it could not be decoded.
  virtual int PictureWidth() const = 0;
  virtual int PictureHeight() const = 0;
  // Sizes the form at (0, 0) of its parent and Img_Prev at (0, 0) of the form.
  virtual void Arrange(const PreviewLayout& layout) = 0;
  // Shows the form (a form of no size stays invisible).
  virtual void Show() = 0;
};

// Creates the form's window unshown; onUnload runs once it is gone (closed, or destroyed with its
// parent). nullptr, or a form without a window, when none can be made.
using PreviewFormLoader =
    std::function<std::unique_ptr<PreviewForm>(std::function<void()> onUnload)>;

}  // namespace orvane
