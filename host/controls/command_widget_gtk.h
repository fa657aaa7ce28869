#pragma once

// The Command button as a GTK 3 widget: an input window of its own, the control's
// off-screen image shown on every draw, the caption drawn over it, and the 100 ms hover
// timer on the GLib main loop. All behaviour lives in orvane::Command (Command.h).
//
// A dialog places its buttons like this:
//
//   orvane::CommandWidget set;
//   set.PlaceInFixed(fixed, 4740, 3000, 1215, 375);  // twips, relative to the GtkFixed
//   orvane::PropertyBag design;
//   design.Write("Caption", std::string("設定"), std::string("Command"));
//   design.Write("Font", dialogFont, orvane::FontInfo{});
//   set.Control().LoadFromBag(design);
//   set.Control().Initialize();
//   set.Control().ConnectClick([] { /* save and close */ });
//   set.Control().SetEnabled(false);
//
// The widget takes the keyboard focus by Tab or by a left press; no key clicks it.

#include <gtk/gtk.h>

#include <cstdint>

#include "host/controls/Command.h"

namespace orvane {

class CommandWidget {
 public:
  CommandWidget();
  // Drops this handle's reference; the widget lives on while its container holds it.
  ~CommandWidget();
  CommandWidget(const CommandWidget&) = delete;
  CommandWidget& operator=(const CommandWidget&) = delete;

  GtkWidget* Widget() const { return widget_; }
  Command& Control();

  // Sets the size the widget asks for, in twips.
  void SetSizeTwips(double widthTwips, double heightTwips);
  // Puts the widget into a GtkFixed at a position and size in twips.
  void PlaceInFixed(GtkFixed* fixed, double leftTwips, double topTwips, double widthTwips,
                    double heightTwips);

 private:
  GtkWidget* widget_ = nullptr;
};

// The control of a widget made by CommandWidget; nullptr for any other widget.
Command* CommandOfWidget(GtkWidget* widget);

// The windowing system's mouse button as the control and its container number it: left 1,
// right 2, middle 4; 0 for any other (which the control ignores).
std::int16_t ButtonOf(guint button);

}  // namespace orvane
