#pragma once

// The Win32 settings dialog's GDI painting of the controls that are drawn rather than windows.

#include <array>
#include <cstdint>

#include "host/controls/picture_bitmap_win32.h"
#include "host/controls/twips.h"
#include "host/dialog/settings_form.h"
#include "platform/win32/windows_api.h"

namespace orvane {

// The dialog's GDI objects: the label fonts, the repeat box's background, the panel's tile, the
// two marks and the link's pointer.
class DialogGdi {
 public:
  explicit DialogGdi(const TwipsScale& scale);
  ~DialogGdi();
  DialogGdi(const DialogGdi&) = delete;
  DialogGdi& operator=(const DialogGdi&) = delete;

  // The font of a control: the labels' own, underlined where the table says so.
  HFONT FontOf(const DialogControl& control) const {
    return control.Underline ? linkFont_ : labelFont_;
  }
  HBRUSH BoxBack() const { return boxBack_; }
  HBITMAP Tile() const { return tile_; }
  HBITMAP Mark(ChoiceMark mark) const { return marks_[static_cast<int>(mark)]; }
  HCURSOR LinkPointer() const { return linkPointer_; }

 private:
  HFONT labelFont_ = nullptr;
  HFONT linkFont_ = nullptr;
  HBRUSH boxBack_ = nullptr;
  HBITMAP tile_ = nullptr;
  std::array<HBITMAP, 2> marks_{};
  HCURSOR linkPointer_ = nullptr;
};

// The music file's caption is fitted to its label at its first paint. Drawn off screen, then
// shown at once on the window, or in `print` (WM_PRINTCLIENT's device context) when given.
void PaintWindow(HWND window, HDC print, DialogContainer container, DialogShown& shown,
                 const DialogGdi& gdi, const TwipsScale& scale);

}  // namespace orvane
