#pragma once

#include <cstdint>
#include <vector>

#include "host/controls/picture.h"
#include "host/controls/twips.h"
#include "host/dialog/dialog_layout.h"

// The pictures stored with the settings dialog (assets/dialog/, built into the program).
namespace orvane {

// Pic_Mbl's strip, 556 x 20: the music panel's background tile.
const Picture& BackgroundTile();
// Img_Ra's two 12 x 12 marks: index 0 beside the choices not chosen, 1 beside the chosen one.
const Picture& MarkPicture(int index);

// A picture's size on a screen of this scale: its pixels count at 96 dpi and grow with the
// screen's density like every other part of the dialog.
DialogPoint PictureSizeOnScreen(const Picture& picture, const TwipsScale& scale);

// A pointer picture with its hot spot, four bytes (R, G, B, alpha) a pixel.
struct PointerPicture {
  int Width = 0;
  int Height = 0;
  int HotX = 0;
  int HotY = 0;
  std::vector<std::uint8_t> Rgba;
};
// The web link label's own pointer, 32 x 32 with its hot spot at (12, 10).
const PointerPicture& LinkPointer();

}  // namespace orvane
