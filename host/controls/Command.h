#pragma once

// The Command push button's core: the GTK widget and the Win32 window forward their events here
// and draw Face(). A dialog sizes it, calls LoadFromBag and Initialize and connects Click. Every
// routine keeps going past a failing step (an overflowing size, a throwing callback), silently.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/controls/command_face.h"
#include "host/controls/font_info.h"
#include "host/controls/property_bag.h"
#include "host/controls/twips.h"

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

struct CommandFields {
  std::uint8_t State = CommandState::Uninitialized;
  std::int16_t IsEnabled = kFalse;
  std::int16_t InvertGradient = kFalse;
  std::int16_t LeftButtonDown = kFalse;
  std::uint8_t FirstRun = 0;
};

// The caption label on the face: transparent, centred, 195 twips high, across the control.
struct CaptionLabel {
  std::string Text = "Command";
  FontInfo Font;
  std::uint32_t ForeColour = 0;  // 0x00BBGGRR
  bool Enabled = true;           // a disabled label draws its text greyed
  double Top = 0.0;              // twips from the control's top, set by each paint
};

// A window of the windowing system (an X window id, an HWND).
using WindowId = std::uint64_t;

// What one control needs from its window and its container; the shells implement it.
class CommandPlatform {
 public:
  virtual ~CommandPlatform() = default;
  // Shows Face() on the screen again.
  virtual void Show() = 0;
  // Starts the hover timer, or sets its interval if it runs; it calls OnHoverTick.
  virtual void StartHoverTimer(std::chrono::milliseconds interval) = 0;
  // The window under the pointer; nothing when the pointer cannot be found.
  virtual std::optional<WindowId> WindowUnderPointer() = 0;
  // The control's own (input) window; nothing before it exists.
  virtual std::optional<WindowId> ControlWindow() = 0;
  // Gives the control's window the keyboard focus; its arrival comes back as FocusMoved.
  virtual void TakeFocus() {}
};

// Where a container puts a control it places in twips: whole pixels, at least one each way.
Rect PlacedPixels(const TwipsScale& scale, double leftTwips, double topTwips, double widthTwips,
                  double heightTwips);

class Command {
 public:
  // A control on a screen of the given twips-per-pixel factors.
  explicit Command(CommandPlatform& platform, const TwipsScale& scale = {});
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
  // Loads the stored design in the order Enabled, Caption, Font, FirstRun, FontColour, Visible;
  // a stored value that does not convert leaves its field as it was.
  void LoadFromBag(const PropertyBag& bag);
  // Stores the design, leaving out values equal to their defaults.
  void SaveToBag(PropertyBag& bag);
  // Click: raised by a release on the control, inside OnMouseUp.
  void ConnectClick(std::function<void()> handler);

  // --- Size in twips, or in pixels as the window has it; each runs OnResize on a change.
  void Resize(double widthTwips, double heightTwips);
  void ResizePixels(int width, int height);
  const TwipsScale& Scale() const { return scale_; }

  // --- What the shell forwards besides OnMouseMove and OnHoverTick. A left press takes the
  // keyboard focus; the second press of a double click does nothing.
  void PointerPressed(std::int16_t button, bool secondOfDoubleClick = false);
  // A release away from the control is first seen as the hover tick would see it, so that a
  // press dragged off never clicks; only the left button's release then reaches OnMouseUp.
  void PointerReleased(std::int16_t button);
  // Focus onto or off the control's window, withinWindow when to or from the same top-level
  // window; repeats and the top-level window losing the desktop's focus change nothing.
  void FocusMoved(bool onControl, bool withinWindow = true);

  // --- Handlers of the control's own events.
  void OnMouseDown(std::int16_t button);
  void OnMouseMove();
  void OnMouseUp(std::int16_t button);
  void OnGotFocus();
  void OnLostFocus();
  void OnHoverTick();
  void OnResize() { ApplyEnabled(); }

  // --- Painting: the whole face framed by the given picture; ApplyEnabled: Normal or Disable.
  void PaintState(Look picture);
  void ApplyEnabled();

  // The face of the last paint with the caption as it is now.
  CommandFace Face() const;
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
  void Enter(std::uint8_t state, Look look);
  void Show();

  CommandPlatform& platform_;
  TwipsScale scale_;
  CommandFields fields_;
  // The frame's geometry in twips, as signed 16-bit values; one that overflows keeps what the
  // previous paint worked out.
  std::int16_t middleWidth_ = 0, middleHeight_ = 0, rightColumn_ = 0, bottomRow_ = 0;
  CommandFace face_;
  CaptionLabel label_;
  bool backgroundOpaque_ = true;
  double width_ = 0.0, height_ = 0.0;
  // Whether the keyboard focus is on the control, whatever its state shows.
  bool hasFocus_ = false;
  std::vector<std::function<void()>> clickHandlers_;
  std::function<void(Look)> observer_;
};

}  // namespace orvane
