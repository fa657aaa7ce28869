#pragma once

// The Command push button: an owner-drawn button whose face is a vertical two-colour
// gradient framed by pieces of a state picture, with a centred caption on top.
//
// This is the control's core: states, the face each paint describes (CommandFace), properties
// and their storage, and the mouse, focus and hover handling, with no windowing code. Two shells
// forward their windowing system's events here and draw Face() with their own toolkit: the GTK
// widget (command_widget_gtk.h) and the Win32 window (command_window_win32.h).
//
// Its code is in three files: Command.cpp (properties, storage and the Click event),
// command_paint.cpp (the face and its size) and command_input.cpp (pointer, focus and hover).
//
// Use by a container (a dialog):
//   1. Create the control (the widget does) and size it: Resize(widthTwips, heightTwips).
//   2. LoadFromBag(bag) with the stored design: a PropertyBag holding, for instance,
//      "Caption" = "設定" and "Font" = a FontInfo. Names not stored read as their defaults:
//      enabled, caption "Command", black caption, face visible.
//   3. Initialize(): state Normal and the 100 ms hover timer on.
//   4. ConnectClick(handler); switch SetEnabled(true/false) as needed.
// A control that never sees LoadFromBag starts disabled and enables itself the first time
// its Enabled property is read.
//
// Every routine keeps going past a failing step (an overflowing size, a throwing container
// callback); nothing is reported.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/controls/caption_label.h"
#include "host/controls/command_face.h"
#include "host/controls/command_platform.h"
#include "host/controls/font_info.h"
#include "host/controls/property_bag.h"

namespace orvane {

// Interaction states. 0 is the state before Initialize.
namespace CommandState {
inline constexpr std::uint8_t Uninitialized = 0;
inline constexpr std::uint8_t Normal = 1;
inline constexpr std::uint8_t HighLight = 2;
inline constexpr std::uint8_t Selected = 3;
inline constexpr std::uint8_t HighLightSelect = 4;
}  // namespace CommandState

// Mouse buttons as the handlers receive them; 0 is any other, which the control ignores.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;

// 16-bit booleans: 0 false, -1 true.
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

// The control's fields, readable for the shell and tests.
struct CommandFields {
  std::uint8_t State = CommandState::Uninitialized;
  std::int16_t IsEnabled = kFalse;
  std::int16_t InvertGradient = kFalse;
  std::int16_t LeftButtonDown = kFalse;
  std::uint8_t FirstRun = 0;
};

// Where a container puts a control it places in twips: whole pixels at the screen's scale, at
// least one each way.
Rect PlacedPixels(const TwipsScale& scale, double leftTwips, double topTwips, double widthTwips,
                  double heightTwips);

class Command {
 public:
  explicit Command(CommandPlatform& platform);
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  // --- Properties. Reads of Enabled, FontColour and Visible repaint, as do all writes but
  // those of Caption and Font.
  const std::string& Caption() const { return label_.Text; }
  void SetCaption(std::string text);
  // Runs the first-use step, then repaints Normal or Disable.
  bool Enabled();
  // Repaints Normal or Disable; enabling a control whose focus came or went while it was
  // disabled brings its state in line with the focus (Selected, or Normal).
  void SetEnabled(bool enabled);
  // The caption font itself; a change through it shows at the next repaint.
  FontInfo& Font() { return label_.Font; }
  void SetFont(const FontInfo& font);
  // 0x00BBGGRR. Black while FirstRun is 0.
  std::uint32_t FontColour();
  void SetFontColour(std::uint32_t colour);
  // False: the face is transparent and only the caption shows.
  bool Visible();
  void SetVisible(bool visible);

  // State Normal, hover timer on (100 ms).
  void Initialize();
  // Loads the stored design, in the order Enabled, Caption, Font, FirstRun, FontColour,
  // Visible; a stored value that does not convert leaves its field as it was.
  void LoadFromBag(const PropertyBag& bag);
  // Stores the design, leaving out values equal to their defaults.
  void SaveToBag(PropertyBag& bag);
  // Click: raised by a release on the control (inside OnMouseUp).
  void ConnectClick(std::function<void()> handler);

  // --- Size: the control's width and height in twips; runs OnResize.
  void Resize(double widthTwips, double heightTwips);
  double WidthTwips() const { return width_; }
  double HeightTwips() const { return height_; }

  // --- What the shell forwards. Buttons as the handlers take them, 0 for any other. A left
  // press takes the keyboard focus; the second press of a double click does nothing.
  void PointerPressed(std::int16_t button, bool secondOfDoubleClick = false);
  // A release away from the control is first seen as the hover tick would see it, so that a
  // press dragged off never clicks; only the left button's release then reaches OnMouseUp.
  void PointerReleased(std::int16_t button);
  void PointerMoved() { OnMouseMove(); }
  // The keyboard focus moved onto the control's window or away from it, to a window inside the
  // same top-level window or not; repeated news and the top-level window's losing the
  // desktop's focus change nothing.
  void FocusMoved(bool onControl, bool withinWindow = true);
  void ResizePixels(int width, int height);

  // --- Handlers of the control's own events. Buttons: kLeftButton, kRightButton,
  // kMiddleButton.
  void OnMouseDown(std::int16_t button);
  void OnMouseMove();
  void OnMouseUp(std::int16_t button);
  void OnGotFocus();
  void OnLostFocus();
  void OnHoverTick();
  void OnResize();

  // --- Painting. PaintState works out the whole face with the frame of the given picture;
  // ApplyEnabled paints Normal or Disable to match Enabled.
  void PaintState(Look picture);
  void ApplyEnabled();

  // --- What the shell draws and tests look at: the face of the last paint with the caption as
  // it is now.
  CommandFace Face() const;
  const CaptionLabel& Label() const { return label_; }
  const CommandFields& Fields() const { return fields_; }
  // Called after every PaintState with the picture painted (tests log it).
  void SetPaintObserver(std::function<void(Look)> observer) { observer_ = std::move(observer); }

 private:
  void PaintGradient();
  void ResetToNormal();
  void LeaveHover();
  void RaiseClick();
  void FollowFocus();
  bool PointerOnControl();

  CommandPlatform& platform_;
  CommandFields fields_;
  // The frame's geometry in twips, as signed 16-bit values; one that overflows keeps what the
  // previous paint worked out.
  std::int16_t middleWidth_ = 0, middleHeight_ = 0, rightColumn_ = 0, bottomRow_ = 0;
  CommandFace face_;
  CaptionLabel label_;
  TwipsScale scale_;
  bool backgroundOpaque_ = true;
  double width_ = 0.0;
  double height_ = 0.0;
  bool sized_ = false;
  // Whether the keyboard focus is on the control, whatever its state shows.
  bool hasFocus_ = false;
  std::vector<std::function<void()>> clickHandlers_;
  std::function<void(Look)> observer_;
};

}  // namespace orvane
