#pragma once

// The Command button as a GTK 3 event box drawing into its container's window, with an input
// window of its own; it takes the focus by Tab or a left press, and no key clicks it.

#include <gtk/gtk.h>

#include <cstdint>

#include "host/controls/Command.h"

namespace orvane {

class CommandWidget final : CommandPlatform {
 public:
  explicit CommandWidget(const TwipsScale& scale);
  // Drops this handle's reference; the widget lives on while its container holds it, inert.
  ~CommandWidget() override;
  CommandWidget(const CommandWidget&) = delete;
  CommandWidget& operator=(const CommandWidget&) = delete;

  Command& Control() { return control_; }

  // Puts the widget into a GtkFixed at a position and size in twips.
  void PlaceInFixed(GtkFixed* fixed, double leftTwips, double topTwips, double widthTwips,
                    double heightTwips);

 private:
  void Show() override;
  void StartHoverTimer(std::chrono::milliseconds interval) override;
  std::optional<WindowId> WindowUnderPointer() override;
  std::optional<WindowId> ControlWindow() override;
  void TakeFocus() override;

  void Watch(GtkWindow* window);
  void Stop();
  bool SecondOfDoubleClick(const GdkEventButton& press);

  Command control_;
  GtkWidget* widget_;
  GdkWindow* input_ = nullptr;
  guint timer_ = 0;
  std::optional<GdkEventButton> last_;  // the last press, unless it ended a double click
  GtkWindow* toplevel_ = nullptr;
  gulong focusHandler_ = 0;
};

// The control's button numbers: left 1, right 2, middle 4; 0 for any other.
std::int16_t ButtonOf(guint button);

}  // namespace orvane
