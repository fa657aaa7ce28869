#pragma once

// The Command button as a GTK 3 widget: an event box that draws the face the core describes
// (face_painter_gtk.h) and the caption over it into its container's window, an input window of
// its own, and the 100 ms hover timer on the GLib main loop. All behaviour lives in
// orvane::Command (Command.h, which shows how a dialog sets a button up); the widget takes the
// keyboard focus by Tab or by a left press, and no key clicks it. A dialog places it with
// PlaceInFixed(fixed, 4740, 3000, 1215, 375), in twips relative to the GtkFixed.

#include <gtk/gtk.h>

#include <cstdint>

#include "host/controls/Command.h"

namespace orvane {

class CommandWidget {
 public:
  // A button at the screen's scale.
  explicit CommandWidget(const TwipsScale& scale);
  // Drops this handle's reference; the widget lives on while its container holds it.
  ~CommandWidget();
  CommandWidget(const CommandWidget&) = delete;
  CommandWidget& operator=(const CommandWidget&) = delete;

  Command& Control();

  // Puts the widget into a GtkFixed at a position and size in twips.
  void PlaceInFixed(GtkFixed* fixed, double leftTwips, double topTwips, double widthTwips,
                    double heightTwips);

 private:
  GtkWidget* widget_ = nullptr;
};

// The windowing system's mouse button as the control and its container number it: left 1,
// right 2, middle 4; 0 for any other (which the control ignores).
std::int16_t ButtonOf(guint button);

}  // namespace orvane
