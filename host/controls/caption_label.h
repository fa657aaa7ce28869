#pragma once

#include <cstdint>
#include <string>

#include "host/controls/font_info.h"

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

}  // namespace orvane
