#pragma once

// The Command button's face for one paint, in the window's pixels; each shell draws exactly this.

#include <array>
#include <cstdint>
#include <string>

#include "host/controls/font_info.h"
#include "host/controls/picture.h"
#include "platform/rect.h"

namespace orvane {

// The six looks of the button. Only the first four are states; Pressed and Disable are
// painted without changing the state.
enum class Look { Normal = 0, HighLight, Selected, HighLightSelect, Pressed, Disable };
inline constexpr int kLookCount = 6;

// The 64 x 25 picture stored with the control for a look; the frame pieces are cut from it.
const Picture& StatePicture(Look look);

// One corner point of the gradient, as GDI's TRIVERTEX: a position in pixels and 16-bit colour
// channels whose high byte is the colour byte (0xC6 is written 0xC600).
struct TriVertex {
  std::int32_t X = 0, Y = 0;
  std::uint16_t Red = 0, Green = 0, Blue = 0, Alpha = 0;
};

// The two vertices that span the gradient's rectangle, as GDI's GRADIENT_RECT.
struct GradientRectangle {
  std::uint32_t UpperLeft = 0, LowerRight = 0;
};

// A rectangle of the state picture copied onto a rectangle of the face: 1:1 where the sizes
// are equal, else stretched or squeezed by dropping or repeating pixels, never blending them.
struct FramePiece {
  Rect From, To;
};

// The caption: Text in Font centred across Box from its top edge down, clipped to it. Enabled,
// the text is in Colour (0xRRGGBB); greyed, a copy in kCaptionShadow one pixel down and right
// lies under the text in kCaptionGrey.
struct CaptionPaint {
  bool Drawn = false;  // false for no text or a label of no size
  Rect Box;
  bool Greyed = false;
  std::uint32_t Colour = 0;
  std::string Text;
  FontInfo Font;
};
inline constexpr std::uint32_t kCaptionShadow = 0xFFFFFF;
inline constexpr std::uint32_t kCaptionGrey = 0xACA899;

// Drawn in order: the background, the vertical gradient as GDI's GRADIENT_FILL_RECT_V fills it
// (right and bottom excluded, the top row in the upper vertex's colour), the frame pieces and
// the caption. With Shown false (the Visible property) only the caption, over the container.
struct CommandFace {
  bool Shown = true;
  int Width = 0, Height = 0;
  std::uint32_t Background = 0;  // 0xRRGGBB
  std::array<TriVertex, 4> Vertices{};
  GradientRectangle GradientRect{};
  Look Picture = Look::Normal;
  int PieceCount = 0;  // pieces of no size are left out
  std::array<FramePiece, 8> Pieces{};
  CaptionPaint Caption;
};

}  // namespace orvane
