#include "host/dialog/dialog_controls.h"

#include <array>
#include <stdexcept>
#include <string>

namespace orvane {
namespace {

using K = DialogControlKind;
using L = DialogTextLayout;
constexpr DialogContainer kForm = DialogContainer::Form;
constexpr DialogContainer kPanel = DialogContainer::Panel;

// clang-format off
constexpr std::array kControls{
    DialogControl{.Name = "Pic_C", .Kind = K::Panel, .Container = kForm,
                  .Left = 180, .Top = 240, .Width = 7035, .Height = 2475, .BackColour = 0xE0E0E0},
    DialogControl{.Name = "Shape3", .Index = 3, .Kind = K::Shape, .Container = kPanel,
                  .Left = 300, .Top = 300, .Width = 1695, .Height = 315},
    DialogControl{.Name = "lbl", .Index = 15, .Kind = K::Label, .Container = kPanel,
                  .Left = 300, .Top = 360, .Width = 1665, .Height = 195,
                  .Text = "BGM", .Layout = L::Centred},
    DialogControl{.Name = "Img_BGM", .Index = 1, .Kind = K::Image, .Container = kPanel,
                  .Left = 420, .Top = 840, .Width = 195, .Height = 195},
    DialogControl{.Name = "lbl_BGM", .Index = 1, .Kind = K::Label, .Container = kPanel,
                  .Left = 660, .Top = 840, .Width = 645, .Height = 195, .Text = "音楽CD"},
    DialogControl{.Name = "BGM_Repeat", .Kind = K::Combo, .Container = kPanel,
                  .Left = 1680, .Top = 780, .Width = 615, .Height = 300},
    DialogControl{.Name = "lbl", .Index = 14, .Kind = K::Label, .Container = kPanel,
                  .Left = 2340, .Top = 840, .Width = 990, .Height = 195, .Text = "曲目をﾘﾋﾟｰﾄ"},
    DialogControl{.Name = "Img_BGM", .Index = 0, .Kind = K::Image, .Container = kPanel,
                  .Left = 420, .Top = 1140, .Width = 195, .Height = 195},
    DialogControl{.Name = "lbl_BGM", .Index = 0, .Kind = K::Label, .Container = kPanel,
                  .Left = 660, .Top = 1140, .Width = 330, .Height = 195, .Text = "なし"},
    DialogControl{.Name = "Img_BGM", .Index = 2, .Kind = K::Image, .Container = kPanel,
                  .Left = 420, .Top = 1440, .Width = 195, .Height = 195},
    DialogControl{.Name = "lbl_BGM", .Index = 2, .Kind = K::Label, .Container = kPanel,
                  .Left = 660, .Top = 1440, .Width = 900, .Height = 195, .Text = "MP3、WAV"},
    DialogControl{.Name = "Cmd_File", .Kind = K::Command, .Container = kPanel,
                  .Left = 420, .Top = 1680, .Width = 615, .Height = 375, .Text = "..."},
    DialogControl{.Name = "lbl_Fname", .Kind = K::Label, .Container = kPanel,
                  .Left = 1080, .Top = 1740, .Width = 5715, .Height = 495,
                  .Layout = L::Wrapped},
    DialogControl{.Name = "lbl", .Index = 7, .Kind = K::Label, .Container = kForm,
                  .Left = 180, .Top = 2880, .Width = 2475, .Height = 195, .Text = CreditLine,
                  .ForeColour = kDialogWhite},
    DialogControl{.Name = "lbl_URL", .Kind = K::Label, .Container = kForm,
                  .Left = 180, .Top = 3120, .Width = 3285, .Height = 195, .Text = HomePageAddress,
                  .ForeColour = kDialogWhite, .Underline = true},
    DialogControl{.Name = "Cmd_Set", .Kind = K::Command, .Container = kForm,
                  .Left = 4740, .Top = 3000, .Width = 1215, .Height = 375, .Text = "設定"},
    DialogControl{.Name = "Cmd_Can", .Kind = K::Command, .Container = kForm,
                  .Left = 6000, .Top = 3000, .Width = 1215, .Height = 375, .Text = "ｷｬﾝｾﾙ"},
};
// clang-format on

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

FontInfo DialogFont(const DialogControl& control) {
  return FontInfo{"ＭＳ Ｐゴシック", 9.75, 400, false, control.Underline, false, 128};
}

}  // namespace orvane
