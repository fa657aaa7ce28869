#include "host/controls/command_widget_gtk.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>

#include <algorithm>
#include <cmath>

#include "host/controls/face_painter_gtk.h"

namespace orvane {

using Self = CommandWidget;

// The widget is an event box without a window to draw in, so that it draws into its container's
// window (which shows where the face is not shown), and with an input window of its own, which
// the hover test tells from the container's.
namespace {

// Connects handler, which takes data last, before or after the default handler.
template <typename Handler>
gulong On(gpointer object, gpointer data, const char* signal, Handler handler,
          GConnectFlags when = GConnectFlags(0)) {
  return g_signal_connect_data(object, signal, G_CALLBACK(+handler), data, nullptr, when);
}
template <typename Handler>
gulong OnAfter(gpointer object, gpointer data, const char* signal, Handler handler) {
  return On(object, data, signal, handler, G_CONNECT_AFTER);
}

}  // namespace

CommandWidget::CommandWidget(const TwipsScale& scale)
    : control_(*this, scale), widget_(g_object_ref_sink(gtk_event_box_new())) {
  gtk_event_box_set_visible_window(GTK_EVENT_BOX(widget_), FALSE);
  gtk_widget_add_events(widget_, GDK_POINTER_MOTION_MASK);
  gtk_widget_set_can_focus(widget_, TRUE);
  OnAfter(widget_, this, "realize", [](GtkWidget* widget, Self* self) {
    // The event box's input window, made a window of its own on the display.
    for (GList* c = gdk_window_peek_children(gtk_widget_get_window(widget)); c; c = c->next) {
      auto* window = static_cast<GdkWindow*>(c->data);
      gpointer owner = nullptr;
      gdk_window_get_user_data(window, &owner);
      if (owner == widget && gdk_window_is_input_only(window)) self->input_ = window;
    }
    if (self->input_ != nullptr) gdk_window_ensure_native(self->input_);
  });
  On(widget_, this, "unrealize", [](GtkWidget*, Self* self) { self->input_ = nullptr; });
  On(widget_, this, "size-allocate", [](GtkWidget*, GdkRectangle* r, Self* self) {
    self->control_.ResizePixels(r->width, r->height);
  });
  On(widget_, this, "draw", [](GtkWidget*, cairo_t* cr, Self* self) {
    DrawFace(cr, self->control_.Face(), self->control_.Scale());
    return FALSE;
  });
  On(widget_, this, "button-press-event", [](GtkWidget*, GdkEventButton* e, Self* self) {
    // GDK follows the second press of a double click with an event of its own: not a press.
    if (e->type == GDK_BUTTON_PRESS)
      self->control_.PointerPressed(ButtonOf(e->button), self->SecondOfDoubleClick(*e));
    return TRUE;
  });
  On(widget_, this, "button-release-event", [](GtkWidget*, GdkEventButton* e, Self* self) {
    self->control_.PointerReleased(ButtonOf(e->button));
    return TRUE;
  });
  On(widget_, this, "motion-notify-event", [](GtkWidget*, GdkEvent*, Self* self) {
    self->control_.OnMouseMove();
    return TRUE;
  });
  On(widget_, this, "hierarchy-changed", [](GtkWidget* widget, GtkWidget*, Self* self) {
    GtkWidget* toplevel = gtk_widget_get_toplevel(widget);
    self->Watch(GTK_IS_WINDOW(toplevel) ? GTK_WINDOW(toplevel) : nullptr);
  });
  On(widget_, this, "destroy", [](GtkWidget*, Self* self) { self->Stop(); });
}

CommandWidget::~CommandWidget() {
  Stop();
  g_signal_handlers_disconnect_by_data(widget_, this);
  g_object_unref(widget_);
}

// Follows the focus widget of the window that holds us: the focus moving between its controls,
// which the window keeps while it loses and regains the desktop's focus.
void CommandWidget::Watch(GtkWindow* window) {
  if (window == toplevel_) return;
  if (toplevel_ != nullptr) {
    g_signal_handler_disconnect(toplevel_, focusHandler_);
    g_object_remove_weak_pointer(G_OBJECT(toplevel_), reinterpret_cast<gpointer*>(&toplevel_));
  }
  toplevel_ = window;
  if (window == nullptr) return;
  g_object_add_weak_pointer(G_OBJECT(window), reinterpret_cast<gpointer*>(&toplevel_));
  focusHandler_ = OnAfter(window, this, "set-focus", [](GtkWindow* w, GtkWidget*, Self* self) {
    self->control_.FocusMoved(gtk_window_get_focus(w) == self->widget_);
  });
}

void CommandWidget::Stop() {
  if (timer_ != 0) g_source_remove(timer_);
  timer_ = 0;
  Watch(nullptr);
}

void CommandWidget::Show() {
  gtk_widget_queue_draw(widget_);
}

void CommandWidget::StartHoverTimer(std::chrono::milliseconds interval) {
  if (timer_ != 0) g_source_remove(timer_);
  const GSourceFunc tick = [](gpointer self) -> gboolean {
    static_cast<Self*>(self)->control_.OnHoverTick();
    return G_SOURCE_CONTINUE;
  };
  timer_ = g_timeout_add(static_cast<guint>(interval.count()), tick, this);
}

// The deepest X window of any program under the pointer; nothing off X11 or on another screen.
std::optional<WindowId> CommandWidget::WindowUnderPointer() {
  GdkDisplay* display = gtk_widget_get_display(widget_);
  if (display == nullptr || !GDK_IS_X11_DISPLAY(display)) return std::nullopt;
  Display* x = gdk_x11_display_get_xdisplay(display);
  // A window may vanish while we walk down to it; its error must not end the program.
  gdk_x11_display_error_trap_push(display);
  Window window = DefaultRootWindow(x);
  std::optional<WindowId> found;
  for (int depth = 0; depth < 64 && !found; ++depth) {
    Window root = 0, child = 0;
    int rootX, rootY, winX, winY;
    unsigned int mask;
    if (!XQueryPointer(x, window, &root, &child, &rootX, &rootY, &winX, &winY, &mask)) break;
    if (child == None) found = window;
    window = child;
  }
  gdk_x11_display_error_trap_pop_ignored(display);
  return found;
}

std::optional<WindowId> CommandWidget::ControlWindow() {
  // Only a native input window can be told apart from its container.
  if (input_ == nullptr || !gdk_window_has_native(input_) || !GDK_IS_X11_WINDOW(input_)) {
    return std::nullopt;
  }
  return GDK_WINDOW_XID(input_);
}

void CommandWidget::TakeFocus() {
  if (gtk_widget_get_can_focus(widget_)) gtk_widget_grab_focus(widget_);
}

// GDK reports a double click's second press as a plain press first, so it is told by the
// desktop's double-click time and distance, read afresh as they may change.
bool CommandWidget::SecondOfDoubleClick(const GdkEventButton& press) {
  gint time = 400, distance = 5;
  g_object_get(gtk_widget_get_settings(widget_), "gtk-double-click-time", &time,
               "gtk-double-click-distance", &distance, nullptr);
  // Unsigned subtraction copes with the millisecond clock wrapping round.
  const bool second = last_ && press.button == last_->button &&
                      press.time - last_->time <= static_cast<guint32>(std::max(0, time)) &&
                      std::fabs(press.x_root - last_->x_root) <= distance &&
                      std::fabs(press.y_root - last_->y_root) <= distance;
  last_ = second ? std::nullopt : std::optional(press);
  return second;
}

void CommandWidget::PlaceInFixed(GtkFixed* fixed, double leftTwips, double topTwips,
                                 double widthTwips, double heightTwips) {
  const Rect place = PlacedPixels(control_.Scale(), leftTwips, topTwips, widthTwips, heightTwips);
  gtk_widget_set_size_request(widget_, place.Width, place.Height);
  gtk_fixed_put(fixed, widget_, place.X, place.Y);
}

std::int16_t ButtonOf(guint button) {
  // X numbers the middle button 2 and the right one 3.
  static constexpr std::int16_t kButtons[] = {0, kLeftButton, kMiddleButton, kRightButton};
  return button < std::size(kButtons) ? kButtons[button] : 0;
}

}  // namespace orvane
