#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "host/controls/font_info.h"

// Every control of the settings dialog, in one table that both systems' windows are built and
// painted from.
namespace orvane {

// The project's home page, the address the dialog's link label shows and opens.
inline constexpr std::string_view HomePageAddress = "https://orvane.org/";
// The credit line under the music panel.
inline constexpr std::string_view CreditLine = "© Orvane  Ver.1.0.0";

// The container a control is placed in: the form itself or the music panel Pic_C.
enum class DialogContainer { Form, Panel };

enum class DialogControlKind { Panel, Shape, Label, Image, Combo, Command };

// How a label lays out its text: one line from its top-left corner (which may run past its
// right edge), one line centred across it, or wrapped within it and cut off at its edges.
enum class DialogTextLayout { OneLine, Centred, Wrapped };

// Colours as 0xRRGGBB.
inline constexpr std::uint32_t kDialogBlack = 0x000000;
inline constexpr std::uint32_t kDialogWhite = 0xFFFFFF;
// The form's own colour, under its painted bands.
inline constexpr std::uint32_t kDialogFormColour = 0xC0C0C0;

struct DialogControl {
  std::string_view Name;
  int Index = -1;  // -1 for a control that is not one of an array
  DialogControlKind Kind = DialogControlKind::Label;
  DialogContainer Container = DialogContainer::Form;
  double Left = 0, Top = 0, Width = 0, Height = 0;  // twips, relative to the container
  // A label's text or a button's caption; lbl_Fname shows the music file's path instead.
  std::string_view Text = {};
  DialogTextLayout Layout = DialogTextLayout::OneLine;
  std::uint32_t ForeColour = kDialogBlack;  // a label's text, a shape's outline
  std::uint32_t BackColour = kDialogWhite;  // a panel's or a box's background
  bool Underline = false;                   // the label font, underlined
};

// The inside of the form, in twips.
inline constexpr double kDialogInnerWidth = 7380.0;
inline constexpr double kDialogInnerHeight = 3690.0;

// Every control on the form, in the order of the design; the stores of its pictures (Pic_Mbl,
// Img_Ra) are the pictures of dialog_pictures.h.
std::span<const DialogControl> DialogControls();
// Throws std::out_of_range for a name not in the table: a typo is a bug.
const DialogControl& DialogControlNamed(std::string_view name, int index = -1);

// The font of the labels, the repeat box and the buttons: ＭＳ Ｐゴシック 9.75 points, Shift-JIS,
// underlined for a control that says so.
FontInfo DialogFont(const DialogControl& control);

}  // namespace orvane
