#pragma once

// How the Win32 window of the settings dialog paints the form and its music panel with GDI:
// every control of the table in dialog_controls.h that is drawn rather than a window, from
// what the form has shown (DialogShown).

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

// Paints the form's window (its colour, its bands and its labels) or the panel's (its colour and
// tiles, then its frame, marks and labels; the music file's caption is fitted to its label the
// first time it is painted). Drawn off screen, then shown at once: on the window (WM_PAINT), or
// in `print` (WM_PRINTCLIENT's device context) when it is given.
void PaintWindow(HWND window, HDC print, DialogContainer container, DialogShown& shown,
                 const DialogGdi& gdi, const TwipsScale& scale);

}  // namespace orvane
