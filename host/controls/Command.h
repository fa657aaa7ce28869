#pragma once

// The Command push button: an owner-drawn button whose face is a vertical two-colour
// gradient framed by pieces of a state picture, with a centred caption on top.
//
// This is the control's core: states, painting into an off-screen Surface, properties and
// their storage, mouse and focus handling, and the conversion of pointer positions from pixels
// to twips. It has no windowing code. Two shells forward their windowing system's events here,
// as PointerEvents in pixels, and show Face() and CaptionPaintOf(Label()): the GTK widget
// (command_widget_gtk.h) and the Win32 window (command_window_win32.h).
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
// Every routine keeps going past a failing step (an overflowing size, a failed copy, a
// throwing container callback); nothing is reported.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/controls/caption_label.h"
#include "host/controls/command_platform.h"
#include "host/controls/font_info.h"
#include "host/controls/property_bag.h"
#include "host/controls/state_pictures.h"
#include "host/controls/surface.h"

namespace orvane {

// Interaction states. 0 is the state before Initialize.
namespace CommandState {
inline constexpr std::uint8_t Uninitialized = 0;
inline constexpr std::uint8_t Normal = 1;
inline constexpr std::uint8_t HighLight = 2;
inline constexpr std::uint8_t Selected = 3;
inline constexpr std::uint8_t HighLightSelect = 4;
}  // namespace CommandState

// Mouse buttons as the handlers receive them.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;

// 16-bit booleans: 0 false, -1 true.
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

// The control's fields, readable for the shell, the gallery and tests.
struct CommandFields {
  std::uint8_t State = CommandState::Uninitialized;
  std::int16_t IsEnabled = kFalse;
  std::int16_t InvertGradient = kFalse;
  std::int16_t LeftButtonDown = kFalse;
  std::uint8_t FirstRun = 0;
  std::array<TriVertex, 4> GradientVertices{};
  GradientRectangle GradientRect{};
};

// A pointer event as the shell receives it from its windowing system. Button: for a press or a
// release the button (kLeftButton, kRightButton, kMiddleButton, or 0 for any other), for a
// move the buttons held. X and Y: the position in pixels of the control's window.
struct PointerEvent {
  std::int16_t Button = 0;
  std::int16_t Shift = 0;
  double X = 0.0;
  double Y = 0.0;
  // The second press of a double click, as the windowing system tells it.
  bool SecondOfDoubleClick = false;
};

// The frame geometry of the last paint, in twips (signed 16-bit, as the paint computes it).
struct FrameGeometry {
  std::int16_t Corner = 0;
  std::int16_t MiddleWidth = 0;
  std::int16_t MiddleHeight = 0;
  std::int16_t RightColumn = 0;
  std::int16_t BottomRow = 0;
};

// The face's background colour (under the gradient and the frame).
inline constexpr std::uint32_t kCommandBackColour = 0xECE9D8;
// The two gradient colours as the control's design holds them.
inline constexpr const char* kGradientLightText = "&HFFFFFF";
inline constexpr const char* kGradientDarkText = "&HC6C5D7";

// Reads a colour text ("&HC6C5D7", or a decimal number) as RRGGBB: digits 1-2 red, 3-4
// green, 5-6 blue. Nothing for a text that is not a number of at most 24 bits.
std::optional<std::uint32_t> ColourFromHexText(std::string_view text);

// Where a container puts a control it places in twips: whole pixels at the screen's scale, at
// least one each way.
Rect PlacedPixels(const TwipsScale& scale, double leftTwips, double topTwips, double widthTwips,
                  double heightTwips);

class Command {
 public:
  Command(CommandPlatform& platform, CommandContainer& container,
          const StatePictures& pictures = DefaultStatePictures());
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  // --- Properties. Reads of Enabled, FontColour and Visible repaint, as do all writes but
  // those of Caption and Font. Every write tells the container the property changed.
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

  // --- What the shell forwards: pointer events in pixels and the window's size in pixels.
  // A left press takes the keyboard focus; the second press of a double click does nothing.
  void PointerPressed(const PointerEvent& event);
  // A release away from the control is first seen as the hover tick would see it, so that a
  // press dragged off never clicks; only the left button's release then reaches OnMouseUp.
  void PointerReleased(const PointerEvent& event);
  void PointerMoved(const PointerEvent& event);
  void ResizePixels(int width, int height);

  // --- Handlers of the control's own events (positions in twips). Buttons: kLeftButton,
  // kRightButton, kMiddleButton; shift and position are accepted and ignored.
  void OnMouseDown(std::int16_t button, std::int16_t shift = 0, float x = 0, float y = 0);
  void OnMouseMove(std::int16_t button = 0, std::int16_t shift = 0, float x = 0, float y = 0);
  void OnMouseUp(std::int16_t button, std::int16_t shift = 0, float x = 0, float y = 0);
  void OnGotFocus();
  void OnLostFocus();
  void OnHoverTick();
  void OnResize();

  // --- Painting. PaintState repaints the whole face with the frame of the given picture;
  // ApplyEnabled paints Normal or Disable to match Enabled.
  void PaintState(Look picture);
  void ApplyEnabled();

  // --- What the shell shows and tests look at.
  const Surface& Face() const { return surface_; }
  bool FaceShown() const { return backgroundOpaque_; }
  const CaptionLabel& Label() const { return label_; }
  const CommandFields& Fields() const { return fields_; }
  const FrameGeometry& Geometry() const { return geometry_; }
  // Called after every PaintState with the picture painted (the gallery and tests log it).
  void SetPaintObserver(std::function<void(Look)> observer) { observer_ = std::move(observer); }

 private:
  void PaintGradient();
  void ResetToNormal();
  void LeaveHover();
  void RaiseClick();
  void FollowFocus();
  void MarkChanged(std::string_view name);
  bool PointerOnControl();
  float TwipsX(double pixels);
  float TwipsY(double pixels);
  void DrawPiece(const Picture& picture, double dx, double dy, double dw, double dh, double sx,
                 double sy, double sw, double sh);

  CommandPlatform& platform_;
  CommandContainer& container_;
  const StatePictures& pictures_;
  CommandFields fields_;
  FrameGeometry geometry_;
  CaptionLabel label_;
  Surface surface_;
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
