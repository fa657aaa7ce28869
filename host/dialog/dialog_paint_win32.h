#pragma once

// How the Win32 window of the settings dialog paints the form and its music panel with GDI:
// every control of the table in dialog_controls.h that is drawn rather than a window, from
// what the form has shown (dialog_shown.h).

#include <array>
#include <cstdint>

#include "host/controls/picture_bitmap_win32.h"
#include "host/controls/twips.h"
#include "host/dialog/dialog_shown.h"
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

// A drawing of a window's client area off screen, shown at once when it goes out of scope: on
// the window (WM_PAINT), or in `print` (WM_PRINTCLIENT's device context) when it is given.
class BufferedPaint {
 public:
  BufferedPaint(HWND window, HDC print);
  ~BufferedPaint();
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;
  HDC Dc() const { return dc_; }
  const RECT& Client() const { return client_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC target_ = nullptr;
  RECT client_{};
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// The form's colour, its bands and its labels.
void PaintForm(HDC dc, const RECT& client, DialogShown& shown, const DialogGdi& gdi,
               const TwipsScale& scale);
// The panel's colour and tiles, then its frame, marks and labels. The music file's caption is
// fitted to its label the first time it is painted.
void PaintPanel(HDC dc, const RECT& client, DialogShown& shown, const DialogGdi& gdi,
                const TwipsScale& scale);

}  // namespace orvane
