#include "host/dialog/dialog_pictures.h"

#include <span>

namespace orvane {

// The pictures' files in assets/dialog/, built in: Pic_Mbl.ppm, Img_Ra0.ppm, Img_Ra1.ppm and
// lbl_URL_cursor.pam (R, G, B and alpha).
std::span<const std::uint8_t> BackgroundTilePpm();
std::span<const std::uint8_t> MarkNotChosenPpm();
std::span<const std::uint8_t> MarkChosenPpm();
std::span<const std::uint8_t> LinkPointerPam();

const Picture& BackgroundTile() {
  static const Picture tile{556, 20, NetpbmPixels(BackgroundTilePpm(), 556 * 20 * 3)};
  return tile;
}

const Picture& MarkPicture(int index) {
  static const Picture notChosen{12, 12, NetpbmPixels(MarkNotChosenPpm(), 12 * 12 * 3)};
  static const Picture chosen{12, 12, NetpbmPixels(MarkChosenPpm(), 12 * 12 * 3)};
  return index == 1 ? chosen : notChosen;
}

const PointerPicture& LinkPointer() {
  static const PointerPicture pointer{32, 32, 12, 10, NetpbmPixels(LinkPointerPam(), 32 * 32 * 4)};
  return pointer;
}

DialogPoint PictureSizeOnScreen(const Picture& picture, const TwipsScale& scale) {
  return DialogPoint{scale.ToPixelsX(picture.Width * kPictureTwipsPerPixel),
                     scale.ToPixelsY(picture.Height * kPictureTwipsPerPixel)};
}

}  // namespace orvane
