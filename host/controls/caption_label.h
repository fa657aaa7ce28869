#pragma once

#include <cstdint>
#include <string>

#include "host/controls/command_face.h"
#include "host/controls/font_info.h"
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

// The label's edges in whole pixels (edges rather than sizes, as the frame's pieces are), and
// its colour number (0x00BBGGRR) as RGB; system colour numbers (high bit set) draw as the
// button text colour, black.
CaptionPaint CaptionPaintOf(const CaptionLabel& label, const TwipsScale& scale);

}  // namespace orvane
