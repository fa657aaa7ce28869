#include "host/controls/caption_painter_win32.h"

#include <cmath>

#include "host/controls/picture_bitmap_win32.h"
#include "platform/win32/wide_text.h"

namespace orvane {

HFONT MakeFont(const FontInfo& font, const TwipsScale& scale) {
  LOGFONTW log{};
  // Points at the screen's own density, as twips count it (9.75 points: 13 pixels at 96 dpi).
  log.lfHeight = -static_cast<LONG>(std::lround(font.Size * 20.0 / scale.Y));
  log.lfWeight = font.Weight;
  log.lfItalic = font.Italic ? TRUE : FALSE;
  log.lfUnderline = font.Underline ? TRUE : FALSE;
  log.lfStrikeOut = font.Strikethrough ? TRUE : FALSE;
  log.lfCharSet = static_cast<BYTE>(font.Charset);
  log.lfQuality = DEFAULT_QUALITY;
  const std::wstring name = Utf16(font.Name);
  name.copy(log.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&log);
}

void CaptionPainter::Draw(HDC dc, const CaptionPaint& paint, const CaptionLabel& label,
                          const TwipsScale& scale) {
  if (!paint.Drawn) return;
  if (font_ == nullptr || !(fontMade_ == label.Font)) {
    font_.reset(MakeFont(label.Font, scale));
    fontMade_ = label.Font;
  }
  RECT rect{paint.Box.X, paint.Box.Y, paint.Box.X + paint.Box.Width,
            paint.Box.Y + paint.Box.Height};
  const std::wstring text = Utf16(label.Text);
  HGDIOBJ old = SelectObject(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  const UINT format = DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
  if (paint.Greyed) {
    RECT shadow = rect;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, ColourOf(kCaptionShadow));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
  }
  SetTextColor(dc, ColourOf(paint.Greyed ? kCaptionGrey : paint.Colour));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  SelectObject(dc, old);
}

}  // namespace orvane
