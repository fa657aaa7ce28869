#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>

#include "host/controls/face_canvas.h"
#include "host/controls/font_info.h"
#include "host/controls/twips.h"

namespace orvane {

// A window of the windowing system (an X window id on X11).
using WindowId = std::uint64_t;

// What one control needs from the windowing system. The GTK widget and the Win32 window
// implement it; tests use fakes.
class CommandPlatform {
 public:
  virtual ~CommandPlatform() = default;
  // Shows the off-screen image (and the caption over it) on the screen.
  virtual void Show() = 0;
  // Starts the hover timer, or sets its interval if it runs; it calls OnHoverTick.
  virtual void StartHoverTimer(std::chrono::milliseconds interval) = 0;
  // The window under the pointer; nothing when the pointer cannot be found.
  virtual std::optional<WindowId> WindowUnderPointer() = 0;
  // The control's own (input) window; nothing before it exists.
  virtual std::optional<WindowId> ControlWindow() = 0;
  // Gives the control's window the keyboard focus (a left press does); the focus arriving
  // comes back as OnGotFocus.
  virtual void TakeFocus() {}
  // The screen's twips-per-pixel factors.
  virtual TwipsScale Scale() { return {}; }
  // Where the face is drawn as well as into the control's own Surface; nothing when the
  // shell shows that Surface itself.
  virtual FaceCanvas* Canvas() { return nullptr; }
};

// What one control needs from the form that holds it.
class CommandContainer {
 public:
  virtual ~CommandContainer() = default;
  // The container's current font: the default of the stored "Font".
  virtual FontInfo AmbientFont() const { return {}; }
  // A property changed, so the container's stored design needs saving.
  virtual void PropertyChanged(std::string_view /*name*/) {}
};

// What the form that makes a control tells it.
struct CommandOptions {
  // The container's font: the default of the stored "Font".
  FontInfo AmbientFont;
  // Told the name of each property that changes.
  std::function<void(std::string_view)> PropertyChanged;
};

// A container that answers from the options the control was made with; each shell adds its
// own window.
class OptionsContainer : public CommandContainer {
 public:
  explicit OptionsContainer(CommandOptions options = {}) : options_(std::move(options)) {}
  FontInfo AmbientFont() const override { return options_.AmbientFont; }
  void PropertyChanged(std::string_view name) override {
    if (options_.PropertyChanged) options_.PropertyChanged(name);
  }
  CommandOptions& Options() { return options_; }

 private:
  CommandOptions options_;
};

}  // namespace orvane
