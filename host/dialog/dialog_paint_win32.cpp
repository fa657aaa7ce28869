#include "host/dialog/dialog_paint_win32.h"

#include <algorithm>
#include <string>
#include <vector>

#include "host/controls/command_window_win32.h"
#include "host/controls/picture_bitmap_win32.h"
#include "host/dialog/dialog_pictures.h"
#include "host/dialog/path_elision.h"
#include "platform/win32/wide_text.h"

namespace orvane {
namespace {

RECT RectOf(const Rect& r) {
  return RECT{r.X, r.Y, r.X + r.Width, r.Y + r.Height};
}

// The web link's own pointer, from its RGBA picture.
HCURSOR LinkCursor() {
  const PointerPicture& picture = LinkPointer();
  std::uint32_t* bits = nullptr;
  HBITMAP colour = MakeDib(picture.Width, picture.Height, &bits);
  if (colour == nullptr) return nullptr;
  auto* pixels = reinterpret_cast<std::uint8_t*>(bits);
  for (size_t i = 0; i + 3 < picture.Rgba.size(); i += 4) {
    pixels[i] = picture.Rgba[i + 2];
    pixels[i + 1] = picture.Rgba[i + 1];
    pixels[i + 2] = picture.Rgba[i];
    pixels[i + 3] = picture.Rgba[i + 3];
  }
  std::vector<std::uint8_t> zeros(static_cast<size_t>(picture.Width) * picture.Height / 8, 0);
  HBITMAP mask = CreateBitmap(picture.Width, picture.Height, 1, 1, zeros.data());
  ICONINFO icon{};
  icon.fIcon = FALSE;
  icon.xHotspot = static_cast<DWORD>(picture.HotX);
  icon.yHotspot = static_cast<DWORD>(picture.HotY);
  icon.hbmMask = mask;
  icon.hbmColor = colour;
  HCURSOR cursor = CreateIconIndirect(&icon);
  DeleteObject(colour);
  if (mask != nullptr) DeleteObject(mask);
  return cursor;
}

// The bitmap drawn at (x, y) in size.X x size.Y pixels, each of its pixels repeated.
void Blit(HDC dc, HBITMAP bitmap, int x, int y, DialogPoint size) {
  if (bitmap == nullptr) return;
  BITMAP own{};
  GetObjectW(bitmap, sizeof own, &own);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, x, y, size.X, size.Y, source, 0, 0, own.bmWidth, own.bmHeight, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

// DrawText's format for a label's layout (DialogTextLayout).
UINT FormatOf(DialogTextLayout layout) {
  switch (layout) {
    case DialogTextLayout::Centred:
      return DT_CENTER | DT_TOP | DT_SINGLELINE;
    case DialogTextLayout::Wrapped:
      return DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EDITCONTROL;
    default:
      return DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP;
  }
}

// A transparent label's text.
void DrawLabel(HDC dc, const Rect& place, const std::wstring& text, const DialogControl& label) {
  if (text.empty()) return;
  RECT rect = RectOf(place);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColourOf(label.ForeColour));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            FormatOf(label.Layout) | DT_NOPREFIX);
}

// As much of a path as the label's lines hold, elided in the middle. A line counts when most
// of it shows.
std::string FittedPath(HDC dc, const Rect& file, const std::string& path,
                       const DialogControl& label) {
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int lineHeight = std::max<int>(1, metrics.tmHeight);
  const int lines = std::max(1, (file.Height + lineHeight / 4) / lineHeight);
  return ElideMiddle(path, [&](std::string_view candidate) {
    const std::wstring text = Utf16(candidate);
    RECT measure{0, 0, file.Width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure,
              FormatOf(label.Layout) | DT_CALCRECT | DT_NOPREFIX);
    return measure.bottom <= lines * lineHeight;
  });
}

// The controls of a container painted rather than windows, in the table's order.
void PaintControls(HDC dc, DialogContainer container, DialogShown& shown, const DialogGdi& gdi,
                   const TwipsScale& scale) {
  const HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
  for (const DialogControl& control : DialogControls()) {
    if (control.Container != container) continue;
    const Rect place = ToPixels(control, scale);
    if (control.Kind == DialogControlKind::Shape) {
      // A one-pixel outline just inside its rectangle.
      const RECT frame = RectOf(place);
      HBRUSH brush = CreateSolidBrush(ColourOf(control.ForeColour));
      FrameRect(dc, &frame, brush);
      DeleteObject(brush);
    } else if (control.Kind == DialogControlKind::Image) {
      Blit(dc, gdi.Mark(shown.Marks.at(control.Index)), place.X, place.Y,
           PictureSizeOnScreen(MarkPicture(control.Index), scale));
    } else if (control.Kind == DialogControlKind::Label) {
      SelectObject(dc, gdi.FontOf(control));
      if (control.Name == "lbl_Fname") {
        if (!shown.FittedCaption) {
          shown.FittedCaption = FittedPath(dc, place, shown.FileCaption, control);
        }
        DrawLabel(dc, place, Utf16(*shown.FittedCaption), control);
      } else {
        DrawLabel(dc, place, Utf16(control.Text), control);
      }
    }
  }
  SelectObject(dc, oldFont);
}

// A drawing of a window's client area off screen, shown at once when it goes out of scope.
class BufferedPaint {
 public:
  BufferedPaint(HWND window, HDC print) : window_(window) {
    target_ = print != nullptr ? print : BeginPaint(window_, &paint_);
    GetClientRect(window_, &client_);
    dc_ = CreateCompatibleDC(target_);
    bitmap_ = CreateCompatibleBitmap(target_, std::max<LONG>(1, client_.right),
                                     std::max<LONG>(1, client_.bottom));
    old_ = SelectObject(dc_, bitmap_);
  }
  ~BufferedPaint() {
    BitBlt(target_, 0, 0, client_.right, client_.bottom, dc_, 0, 0, SRCCOPY);
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    if (paint_.hdc != nullptr) EndPaint(window_, &paint_);
  }
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

}  // namespace

DialogGdi::DialogGdi(const TwipsScale& scale)
    : labelFont_(MakeFont(DialogFont(DialogControlNamed("lbl_BGM", 0)), scale)),
      linkFont_(MakeFont(DialogFont(DialogControlNamed("lbl_URL")), scale)),
      boxBack_(CreateSolidBrush(ColourOf(DialogControlNamed("BGM_Repeat").BackColour))),
      tile_(BitmapOf(BackgroundTile())),
      marks_{BitmapOf(MarkPicture(0)), BitmapOf(MarkPicture(1))},
      linkPointer_(LinkCursor()) {}

DialogGdi::~DialogGdi() {
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(labelFont_), static_cast<HGDIOBJ>(linkFont_),
                         static_cast<HGDIOBJ>(boxBack_), static_cast<HGDIOBJ>(tile_),
                         static_cast<HGDIOBJ>(marks_[0]), static_cast<HGDIOBJ>(marks_[1])}) {
    if (object != nullptr) DeleteObject(object);
  }
  if (linkPointer_ != nullptr) DestroyCursor(linkPointer_);
}

void PaintWindow(HWND window, HDC print, DialogContainer container, DialogShown& shown,
                 const DialogGdi& gdi, const TwipsScale& scale) {
  const BufferedPaint paint(window, print);
  const HDC dc = paint.Dc();
  const bool form = container == DialogContainer::Form;
  HBRUSH back =
      CreateSolidBrush(ColourOf(form ? kDialogFormColour : DialogControlNamed("Pic_C").BackColour));
  FillRect(dc, &paint.Client(), back);
  DeleteObject(back);
  // The form's banded gradient, one line of its colour for each row; the panel's tiles.
  for (size_t y = 0; form && y < shown.Rows.size() && LONG(y) < paint.Client().bottom; ++y) {
    const RowColour& row = shown.Rows[y];
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(row.Red, row.Green, row.Blue));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, 0, static_cast<int>(y), nullptr);
    LineTo(dc, paint.Client().right, static_cast<int>(y));
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  const DialogPoint tileSize = PictureSizeOnScreen(BackgroundTile(), scale);
  for (size_t i = 0; !form && i < shown.Tiles.size(); ++i)
    Blit(dc, gdi.Tile(), shown.Tiles[i].X, shown.Tiles[i].Y, tileSize);
  PaintControls(dc, container, shown, gdi, scale);
}

}  // namespace orvane
