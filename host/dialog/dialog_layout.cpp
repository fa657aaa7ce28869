#include "host/dialog/dialog_layout.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

namespace orvane {
namespace {

using K = DialogControlKind;
constexpr DialogContainer kForm = DialogContainer::Form;
constexpr DialogContainer kPanel = DialogContainer::Panel;

constexpr std::array kControls{
    DialogControl{"Pic_C", -1, K::Panel, kForm, 180, 240, 7035, 2475},
    DialogControl{"Shape3", 3, K::Shape, kPanel, 300, 300, 1695, 315},
    DialogControl{"lbl", 15, K::Label, kPanel, 300, 360, 1665, 195},
    DialogControl{"Img_BGM", 1, K::Image, kPanel, 420, 840, 195, 195},
    DialogControl{"lbl_BGM", 1, K::Label, kPanel, 660, 840, 645, 195},
    DialogControl{"BGM_Repeat", -1, K::Combo, kPanel, 1680, 780, 615, 300},
    DialogControl{"lbl", 14, K::Label, kPanel, 2340, 840, 990, 195},
    DialogControl{"Img_BGM", 0, K::Image, kPanel, 420, 1140, 195, 195},
    DialogControl{"lbl_BGM", 0, K::Label, kPanel, 660, 1140, 330, 195},
    DialogControl{"Img_BGM", 2, K::Image, kPanel, 420, 1440, 195, 195},
    DialogControl{"lbl_BGM", 2, K::Label, kPanel, 660, 1440, 900, 195},
    DialogControl{"Cmd_File", -1, K::Command, kPanel, 420, 1680, 615, 375},
    DialogControl{"lbl_Fname", -1, K::Label, kPanel, 1080, 1740, 5715, 495},
    DialogControl{"lbl", 7, K::Label, kForm, 180, 2880, 2475, 195},
    DialogControl{"lbl_URL", -1, K::Label, kForm, 180, 3120, 3285, 195},
    DialogControl{"Cmd_Set", -1, K::Command, kForm, 4740, 3000, 1215, 375},
    DialogControl{"Cmd_Can", -1, K::Command, kForm, 6000, 3000, 1215, 375},
    // Stores of pictures, outside the inside of the form and so never seen.
    DialogControl{"Pic_Mbl", -1, K::Picture, kForm, 120, 4680, 8340, 300},
    DialogControl{"Img_Ra", 0, K::Image, kForm, 8040, 300, 180, 180},
    DialogControl{"Img_Ra", 1, K::Image, kForm, 8040, 600, 180, 180},
    DialogControl{"Pic_Dummy", -1, K::Picture, kForm, 7980, 900, 855, 795},
};

}  // namespace

std::span<const DialogControl> DialogControls() {
  return kControls;
}

const DialogControl& DialogControlNamed(std::string_view name, int index) {
  for (const DialogControl& control : kControls) {
    if (control.Name == name && control.Index == index) return control;
  }
  throw std::out_of_range("no dialog control " + std::string(name) + "(" + std::to_string(index) +
                          ")");
}

DialogRect ToPixels(const DialogControl& control, const TwipsScale& scale) {
  return DialogRect{scale.ToPixelsX(control.Left), scale.ToPixelsY(control.Top),
                    scale.ToPixelsX(control.Width), scale.ToPixelsY(control.Height)};
}

DialogPoint DialogPlacement(int screenWidth, int screenHeight, int dialogWidth, int dialogHeight,
                            const TwipsScale& scale) {
  // Whole twips, halves to even (the default rounding mode), then a truncating division.
  const double left = std::trunc(std::nearbyint((screenWidth - dialogWidth) * scale.X) / 2.0);
  const double top = std::trunc(std::nearbyint((screenHeight - dialogHeight) * scale.Y) / 3.0);
  return DialogPoint{scale.ToPixelsX(left), scale.ToPixelsY(top)};
}

std::optional<DialogTarget> HitTest(int x, int y, const TwipsScale& scale) {
  const DialogRect panel = ToPixels(DialogControlNamed("Pic_C"), scale);
  if (panel.Contains(x, y)) {
    const int px = x - panel.X, py = y - panel.Y;
    for (int choice = 0; choice < 3; ++choice) {
      if (ToPixels(DialogControlNamed("Img_BGM", choice), scale).Contains(px, py) ||
          ToPixels(DialogControlNamed("lbl_BGM", choice), scale).Contains(px, py)) {
        return DialogTarget{DialogTarget::Kind::Choice, choice};
      }
    }
    return std::nullopt;
  }
  if (ToPixels(DialogControlNamed("lbl_URL"), scale).Contains(x, y)) {
    return DialogTarget{DialogTarget::Kind::Link, 0};
  }
  return std::nullopt;
}

}  // namespace orvane
