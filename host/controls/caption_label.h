#pragma once

#include <cstdint>
#include <string>

#include "host/controls/font_info.h"
#include "host/controls/surface.h"
#include "host/controls/twips.h"

namespace orvane {

// The caption label that lies on the control's face: a transparent label, text centred
// horizontally, drawn from its top edge down. Positions and sizes in twips, relative to
// the control.
struct CaptionLabel {
  static constexpr double kDesignHeight = 195.0;

  std::string Text = "Command";
  FontInfo Font;
  std::uint32_t ForeColour = 0;  // 0x00BBGGRR
  bool Enabled = true;           // a disabled label draws its text greyed
  double Left = 0.0;
  double Top = 0.0;
  double Width = 0.0;
  double Height = kDesignHeight;
};

// How a shell draws the caption, in pixels of the control's window.
struct CaptionPaint {
  // False when there is nothing to draw: no text, or a label of no size.
  bool Drawn = false;
  // The label: the text centred across it from its top edge down, clipped to it.
  Rect Box;
  // Enabled: the text in Colour (0xRRGGBB). Greyed (disabled): a copy in kCaptionShadow one
  // pixel down and right, under the text in kCaptionGrey.
  bool Greyed = false;
  std::uint32_t Colour = 0;
};

inline constexpr std::uint32_t kCaptionShadow = 0xFFFFFF;
inline constexpr std::uint32_t kCaptionGrey = 0xACA899;

// The label's edges in whole pixels (edges rather than sizes, as the face's pieces are), and
// its colour number (0x00BBGGRR) as RGB; system colour numbers (high bit set) draw as the
// button text colour, black.
CaptionPaint CaptionPaintOf(const CaptionLabel& label, const TwipsScale& scale);

}  // namespace orvane
