#include "host/controls/command_widget_gtk.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>

#include <algorithm>
#include <cmath>

#include "host/controls/face_painter_gtk.h"

namespace orvane {
namespace {

// The deepest X window under the pointer, of any program: the root window over the desktop.
// Nothing when the display is not X11 or the pointer is on another screen.
std::optional<WindowId> WindowFromPointer(GdkDisplay* display) {
  if (display == nullptr || !GDK_IS_X11_DISPLAY(display)) return std::nullopt;
  Display* x = gdk_x11_display_get_xdisplay(display);
  // A window may vanish while we walk down to it; its error must not end the program.
  gdk_x11_display_error_trap_push(display);
  Window window = DefaultRootWindow(x);
  std::optional<WindowId> found;
  for (int depth = 0; depth < 64; ++depth) {
    Window root = 0, child = 0;
    int rootX, rootY, winX, winY;
    unsigned int mask;
    if (!XQueryPointer(x, window, &root, &child, &rootX, &rootY, &winX, &winY, &mask)) break;
    if (child == None) {
      found = window;
      break;
    }
    window = child;
  }
  gdk_x11_display_error_trap_pop_ignored(display);
  return found;
}

}  // namespace

// The widget's state: the platform the control talks to, the control itself, the hover timer
// and the focus watch. The widget is an event box without a window to draw in, so that it draws
// into its container's window (which shows where the face is not shown), and with an input
// window of its own, which the hover test tells from the container's.
class CommandShell final : public CommandPlatform {
 public:
  CommandShell(GtkWidget* widget, const TwipsScale& scale)
      : control_(*this, scale), widget_(widget) {
    g_signal_connect_after(widget, "realize", G_CALLBACK(Realized), this);
    g_signal_connect(widget, "unrealize", G_CALLBACK(Unrealized), this);
    g_signal_connect(widget, "size-allocate", G_CALLBACK(Allocated), this);
    g_signal_connect(widget, "draw", G_CALLBACK(Draw), this);
    g_signal_connect(widget, "button-press-event", G_CALLBACK(Pressed), this);
    g_signal_connect(widget, "button-release-event", G_CALLBACK(Released), this);
    g_signal_connect(widget, "motion-notify-event", G_CALLBACK(Moved), this);
    g_signal_connect(widget, "hierarchy-changed", G_CALLBACK(HierarchyChanged), this);
    g_signal_connect(widget, "destroy", G_CALLBACK(Destroyed), this);
  }
  ~CommandShell() override { Destroyed(widget_, this); }

  void Show() override { gtk_widget_queue_draw(widget_); }
  void StartHoverTimer(std::chrono::milliseconds interval) override {
    StopTimer();
    timer_ = g_timeout_add(static_cast<guint>(interval.count()), &CommandShell::Tick, this);
  }
  std::optional<WindowId> WindowUnderPointer() override {
    return WindowFromPointer(gtk_widget_get_display(widget_));
  }
  std::optional<WindowId> ControlWindow() override {
    // Only a native input window can be told apart from its container.
    if (input_ == nullptr || !gdk_window_has_native(input_) || !GDK_IS_X11_WINDOW(input_)) {
      return std::nullopt;
    }
    return GDK_WINDOW_XID(input_);
  }
  void TakeFocus() override {
    if (gtk_widget_get_can_focus(widget_)) gtk_widget_grab_focus(widget_);
  }

  Command control_;

 private:
  void StopTimer() {
    if (timer_ != 0) g_source_remove(timer_);
    timer_ = 0;
  }
  void UnwatchToplevel() {
    if (toplevel_ != nullptr) {
      g_signal_handler_disconnect(toplevel_, focusHandler_);
      g_object_remove_weak_pointer(G_OBJECT(toplevel_), reinterpret_cast<gpointer*>(&toplevel_));
    }
    toplevel_ = nullptr;
  }
  // GDK reports the second press of a double click as a press, and only then as an event of its
  // own; the press is told by the desktop's double-click time and distance, which may change
  // while the program runs. The press after a double click starts afresh.
  bool SecondOfDoubleClick(const GdkEventButton& press) {
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

  static gboolean Tick(gpointer self) {
    static_cast<CommandShell*>(self)->control_.OnHoverTick();
    return G_SOURCE_CONTINUE;
  }
  static void Realized(GtkWidget* widget, CommandShell* self) {
    // The event box's input window, made a window of its own on the display.
    for (GList* child = gdk_window_peek_children(gtk_widget_get_window(widget)); child != nullptr;
         child = child->next) {
      auto* window = static_cast<GdkWindow*>(child->data);
      gpointer owner = nullptr;
      gdk_window_get_user_data(window, &owner);
      if (owner == widget && gdk_window_is_input_only(window)) self->input_ = window;
    }
    if (self->input_ != nullptr) gdk_window_ensure_native(self->input_);
  }
  static void Unrealized(GtkWidget*, CommandShell* self) { self->input_ = nullptr; }
  static void Allocated(GtkWidget*, GdkRectangle* allocation, CommandShell* self) {
    self->control_.ResizePixels(allocation->width, allocation->height);
  }
  static gboolean Draw(GtkWidget*, cairo_t* cr, CommandShell* self) {
    DrawFace(cr, self->control_.Face(), self->control_.Scale());
    return FALSE;
  }
  static gboolean Pressed(GtkWidget*, GdkEventButton* event, CommandShell* self) {
    // GDK follows the second press of a double click with an event of its own: not a press.
    if (event->type != GDK_BUTTON_PRESS) return TRUE;
    const bool second = self->SecondOfDoubleClick(*event);
    self->control_.PointerPressed(ButtonOf(event->button), second);
    return TRUE;
  }
  static gboolean Released(GtkWidget*, GdkEventButton* event, CommandShell* self) {
    self->control_.PointerReleased(ButtonOf(event->button));
    return TRUE;
  }
  static gboolean Moved(GtkWidget*, GdkEventMotion*, CommandShell* self) {
    self->control_.OnMouseMove();
    return TRUE;
  }
  // Follows the focus widget of the window that holds us: the focus moving between its
  // controls, which the window keeps while it loses and regains the desktop's focus.
  static void HierarchyChanged(GtkWidget* widget, GtkWidget*, CommandShell* self) {
    GtkWidget* toplevel = gtk_widget_get_toplevel(widget);
    GtkWindow* window = GTK_IS_WINDOW(toplevel) ? GTK_WINDOW(toplevel) : nullptr;
    if (window == self->toplevel_) return;
    self->UnwatchToplevel();
    if (window == nullptr) return;
    self->toplevel_ = window;
    g_object_add_weak_pointer(G_OBJECT(window), reinterpret_cast<gpointer*>(&self->toplevel_));
    self->focusHandler_ = g_signal_connect_after(window, "set-focus", G_CALLBACK(FocusSet), self);
  }
  static void FocusSet(GtkWindow* window, GtkWidget*, CommandShell* self) {
    self->control_.FocusMoved(gtk_window_get_focus(window) == self->widget_);
  }
  static void Destroyed(GtkWidget*, CommandShell* self) {
    self->StopTimer();
    self->UnwatchToplevel();
  }

  GtkWidget* widget_;
  GdkWindow* input_ = nullptr;
  guint timer_ = 0;
  std::optional<GdkEventButton> last_;  // the last press, unless it ended a double click
  GtkWindow* toplevel_ = nullptr;
  gulong focusHandler_ = 0;
};

CommandWidget::CommandWidget(const TwipsScale& scale)
    : widget_(gtk_event_box_new()), shell_(new CommandShell(widget_, scale)) {
  g_object_ref_sink(widget_);
  gtk_event_box_set_visible_window(GTK_EVENT_BOX(widget_), FALSE);
  gtk_widget_add_events(widget_, GDK_POINTER_MOTION_MASK);
  gtk_widget_set_can_focus(widget_, TRUE);
  g_object_set_data_full(G_OBJECT(widget_), "orvane-command", shell_,
                         [](gpointer shell) { delete static_cast<CommandShell*>(shell); });
}

CommandWidget::~CommandWidget() {
  g_object_unref(widget_);
}

Command& CommandWidget::Control() {
  return shell_->control_;
}

void CommandWidget::PlaceInFixed(GtkFixed* fixed, double leftTwips, double topTwips,
                                 double widthTwips, double heightTwips) {
  const Rect place =
      PlacedPixels(shell_->control_.Scale(), leftTwips, topTwips, widthTwips, heightTwips);
  gtk_widget_set_size_request(widget_, place.Width, place.Height);
  gtk_fixed_put(fixed, widget_, place.X, place.Y);
}

std::int16_t ButtonOf(guint button) {
  // X numbers the middle button 2 and the right one 3.
  static constexpr std::int16_t kButtons[] = {0, kLeftButton, kMiddleButton, kRightButton};
  return button < std::size(kButtons) ? kButtons[button] : 0;
}

}  // namespace orvane
