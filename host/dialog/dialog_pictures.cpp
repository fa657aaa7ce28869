#include "host/dialog/dialog_pictures.h"

#include <iterator>

namespace orvane {
namespace dialog_picture_data {
extern const std::uint8_t kBackgroundTile[556 * 20 * 3];
extern const std::uint8_t kMarkNotChosen[12 * 12 * 3];
extern const std::uint8_t kMarkChosen[12 * 12 * 3];
extern const std::uint8_t kLinkCursor[32 * 32 * 4];
}  // namespace dialog_picture_data

namespace {

template <size_t N>
Picture MakePicture(int width, int height, const std::uint8_t (&rgb)[N]) {
  static_assert(N % 3 == 0);
  return Picture{width, height, std::vector<std::uint8_t>(std::begin(rgb), std::end(rgb))};
}

}  // namespace

const Picture& BackgroundTile() {
  static const Picture tile = MakePicture(556, 20, dialog_picture_data::kBackgroundTile);
  return tile;
}

const Picture& MarkPicture(int index) {
  static const Picture notChosen = MakePicture(12, 12, dialog_picture_data::kMarkNotChosen);
  static const Picture chosen = MakePicture(12, 12, dialog_picture_data::kMarkChosen);
  return index == 1 ? chosen : notChosen;
}

const PointerPicture& LinkPointer() {
  static const PointerPicture pointer{
      32, 32, 12, 10,
      std::vector<std::uint8_t>(std::begin(dialog_picture_data::kLinkCursor),
                                std::end(dialog_picture_data::kLinkCursor))};
  return pointer;
}

DialogPoint PictureSizeOnScreen(const Picture& picture, const TwipsScale& scale) {
  return DialogPoint{scale.ToPixelsX(picture.Width * kPictureTwipsPerPixel),
                     scale.ToPixelsY(picture.Height * kPictureTwipsPerPixel)};
}

}  // namespace orvane
