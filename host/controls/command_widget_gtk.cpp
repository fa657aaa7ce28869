#include "host/controls/command_widget_gtk.h"

#include <algorithm>

#include "host/controls/caption_painter_gtk.h"
#include "host/controls/double_click.h"
#include "host/controls/face_painter_gtk.h"
#include "host/controls/window_from_point_x11.h"

namespace orvane {
namespace {

// The widget's state: the platform the control talks to, the control itself, its input
// window, hover timer and focus watch.
class CommandShell final : public CommandPlatform {
 public:
  explicit CommandShell(GtkWidget* widget) : widget_(widget), control_(*this) {}
  ~CommandShell() override { StopTimer(); }

  // CommandPlatform
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
    if (input_ == nullptr || !gdk_window_has_native(input_)) return std::nullopt;
    return NativeWindowOf(input_);
  }
  void TakeFocus() override {
    if (gtk_widget_get_can_focus(widget_)) gtk_widget_grab_focus(widget_);
  }
  TwipsScale Scale() override {
    // The screen's density is read once; the geometry of every later paint uses it.
    if (!scale_) scale_ = ScreenTwipsScale(gtk_widget_get_display(widget_));
    return *scale_;
  }

  Command& Control() { return control_; }
  GdkWindow*& Input() { return input_; }
  DoubleClickFilter& Clicks() { return clicks_; }
  double& DesignWidth() { return designWidth_; }
  double& DesignHeight() { return designHeight_; }

  void StopTimer() {
    if (timer_ != 0) g_source_remove(timer_);
    timer_ = 0;
  }

  // Follows the focus widget of the window that holds us, so that the focus moving
  // between controls counts, and the window merely losing the desktop's focus does not.
  void WatchToplevel() {
    GtkWidget* toplevel = gtk_widget_get_toplevel(widget_);
    GtkWindow* window = GTK_IS_WINDOW(toplevel) ? GTK_WINDOW(toplevel) : nullptr;
    if (window == toplevel_) return;
    UnwatchToplevel();
    if (window == nullptr) return;
    toplevel_ = window;
    g_object_add_weak_pointer(G_OBJECT(toplevel_), reinterpret_cast<gpointer*>(&toplevel_));
    focusHandler_ =
        g_signal_connect_after(toplevel_, "set-focus", G_CALLBACK(&CommandShell::FocusMoved), this);
  }
  void UnwatchToplevel() {
    if (toplevel_ != nullptr) {
      g_signal_handler_disconnect(toplevel_, focusHandler_);
      g_object_remove_weak_pointer(G_OBJECT(toplevel_), reinterpret_cast<gpointer*>(&toplevel_));
    }
    toplevel_ = nullptr;
    focusHandler_ = 0;
  }

  void Draw(cairo_t* cr) {
    const CommandFace face = control_.Face();
    DrawFace(cr, face);
    DrawCaption(cr, face.Caption, control_.Label(), Scale());
  }

 private:
  static gboolean Tick(gpointer self) {
    static_cast<CommandShell*>(self)->control_.OnHoverTick();
    return G_SOURCE_CONTINUE;
  }
  static void FocusMoved(GtkWindow* window, GtkWidget*, gpointer data) {
    auto* self = static_cast<CommandShell*>(data);
    self->control_.FocusMoved(gtk_window_get_focus(window) == self->widget_);
  }

  GtkWidget* widget_;
  Command control_;
  GdkWindow* input_ = nullptr;
  guint timer_ = 0;
  DoubleClickFilter clicks_{400, 5};
  GtkWindow* toplevel_ = nullptr;
  gulong focusHandler_ = 0;
  std::optional<TwipsScale> scale_;
  double designWidth_ = 1215.0;
  double designHeight_ = 375.0;
};

}  // namespace
}  // namespace orvane

G_BEGIN_DECLS
#define ORVANE_TYPE_COMMAND (orvane_command_get_type())
G_DECLARE_FINAL_TYPE(OrvaneCommand, orvane_command, ORVANE, COMMAND, GtkWidget)
G_END_DECLS

struct _OrvaneCommand {
  GtkWidget parent_instance;
  orvane::CommandShell* shell;
};

G_DEFINE_TYPE(OrvaneCommand, orvane_command, GTK_TYPE_WIDGET)

namespace {

using orvane::CommandShell;

CommandShell& ShellOf(GtkWidget* widget) {
  return *ORVANE_COMMAND(widget)->shell;
}

void CommandRealize(GtkWidget* widget) {
  CommandShell& shell = ShellOf(widget);
  gtk_widget_set_realized(widget, TRUE);
  GdkWindow* parent = gtk_widget_get_parent_window(widget);
  gtk_widget_set_window(widget, GDK_WINDOW(g_object_ref(parent)));

  GtkAllocation allocation;
  gtk_widget_get_allocation(widget, &allocation);
  GdkWindowAttr attributes{};
  attributes.window_type = GDK_WINDOW_CHILD;
  attributes.wclass = GDK_INPUT_ONLY;
  attributes.x = allocation.x;
  attributes.y = allocation.y;
  attributes.width = allocation.width;
  attributes.height = allocation.height;
  attributes.event_mask = gtk_widget_get_events(widget) | GDK_BUTTON_PRESS_MASK |
                          GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK;
  shell.Input() = gdk_window_new(parent, &attributes, GDK_WA_X | GDK_WA_Y);
  gtk_widget_register_window(widget, shell.Input());
  // A window of its own on the display, so that the hover test can name it.
  gdk_window_ensure_native(shell.Input());
}

void CommandUnrealize(GtkWidget* widget) {
  CommandShell& shell = ShellOf(widget);
  if (shell.Input() != nullptr) {
    gtk_widget_unregister_window(widget, shell.Input());
    gdk_window_destroy(shell.Input());
    shell.Input() = nullptr;
  }
  GTK_WIDGET_CLASS(orvane_command_parent_class)->unrealize(widget);
}

void CommandMap(GtkWidget* widget) {
  GTK_WIDGET_CLASS(orvane_command_parent_class)->map(widget);
  if (ShellOf(widget).Input() != nullptr) gdk_window_show(ShellOf(widget).Input());
}

void CommandUnmap(GtkWidget* widget) {
  if (ShellOf(widget).Input() != nullptr) gdk_window_hide(ShellOf(widget).Input());
  GTK_WIDGET_CLASS(orvane_command_parent_class)->unmap(widget);
}

void CommandSizeAllocate(GtkWidget* widget, GtkAllocation* allocation) {
  CommandShell& shell = ShellOf(widget);
  gtk_widget_set_allocation(widget, allocation);
  if (gtk_widget_get_realized(widget) && shell.Input() != nullptr) {
    gdk_window_move_resize(shell.Input(), allocation->x, allocation->y, allocation->width,
                           allocation->height);
  }
  shell.Control().ResizePixels(allocation->width, allocation->height);
}

orvane::Rect DesignPixels(CommandShell& shell) {
  return orvane::PlacedPixels(shell.Scale(), 0, 0, shell.DesignWidth(), shell.DesignHeight());
}

void CommandPreferredWidth(GtkWidget* widget, gint* minimum, gint* natural) {
  *minimum = *natural = DesignPixels(ShellOf(widget)).Width;
}

void CommandPreferredHeight(GtkWidget* widget, gint* minimum, gint* natural) {
  *minimum = *natural = DesignPixels(ShellOf(widget)).Height;
}

gboolean CommandDraw(GtkWidget* widget, cairo_t* cr) {
  ShellOf(widget).Draw(cr);
  return FALSE;
}

gboolean CommandButtonPress(GtkWidget* widget, GdkEventButton* event) {
  CommandShell& shell = ShellOf(widget);
  // GDK follows the second press of a double click with an event of its own: not a press.
  if (event->type != GDK_BUTTON_PRESS) return TRUE;
  gint time = 400, distance = 5;
  g_object_get(gtk_widget_get_settings(widget), "gtk-double-click-time", &time,
               "gtk-double-click-distance", &distance, nullptr);
  shell.Clicks().SetLimits(static_cast<std::uint32_t>(std::max(0, time)), distance);
  const bool second = shell.Clicks().IsDoubleClick(static_cast<int>(event->button), event->time,
                                                   event->x_root, event->y_root);
  shell.Control().PointerPressed(orvane::ButtonOf(event->button), second);
  return TRUE;
}

gboolean CommandButtonRelease(GtkWidget* widget, GdkEventButton* event) {
  ShellOf(widget).Control().PointerReleased(orvane::ButtonOf(event->button));
  return TRUE;
}

gboolean CommandMotion(GtkWidget* widget, GdkEventMotion*) {
  ShellOf(widget).Control().PointerMoved();
  return TRUE;
}

void CommandHierarchyChanged(GtkWidget* widget, GtkWidget*) {
  ShellOf(widget).WatchToplevel();
}

void CommandDispose(GObject* object) {
  CommandShell& shell = *ORVANE_COMMAND(object)->shell;
  shell.StopTimer();
  shell.UnwatchToplevel();
  G_OBJECT_CLASS(orvane_command_parent_class)->dispose(object);
}

void CommandFinalize(GObject* object) {
  delete ORVANE_COMMAND(object)->shell;
  ORVANE_COMMAND(object)->shell = nullptr;
  G_OBJECT_CLASS(orvane_command_parent_class)->finalize(object);
}

}  // namespace

static void orvane_command_class_init(OrvaneCommandClass* klass) {
  GObjectClass* object = G_OBJECT_CLASS(klass);
  object->dispose = CommandDispose;
  object->finalize = CommandFinalize;
  GtkWidgetClass* widget = GTK_WIDGET_CLASS(klass);
  widget->realize = CommandRealize;
  widget->unrealize = CommandUnrealize;
  widget->map = CommandMap;
  widget->unmap = CommandUnmap;
  widget->size_allocate = CommandSizeAllocate;
  widget->get_preferred_width = CommandPreferredWidth;
  widget->get_preferred_height = CommandPreferredHeight;
  widget->draw = CommandDraw;
  widget->button_press_event = CommandButtonPress;
  widget->button_release_event = CommandButtonRelease;
  widget->motion_notify_event = CommandMotion;
  widget->hierarchy_changed = CommandHierarchyChanged;
  gtk_widget_class_set_css_name(widget, "orvane-command");
}

static void orvane_command_init(OrvaneCommand* self) {
  GtkWidget* widget = GTK_WIDGET(self);
  self->shell = new CommandShell(widget);
  gtk_widget_set_has_window(widget, FALSE);
  gtk_widget_set_can_focus(widget, TRUE);
}

namespace orvane {

CommandWidget::CommandWidget() {
  widget_ = GTK_WIDGET(g_object_new(ORVANE_TYPE_COMMAND, nullptr));
  g_object_ref_sink(widget_);
}

CommandWidget::~CommandWidget() {
  g_object_unref(widget_);
}

Command& CommandWidget::Control() {
  return ShellOf(widget_).Control();
}

void CommandWidget::SetSizeTwips(double widthTwips, double heightTwips) {
  CommandShell& shell = ShellOf(widget_);
  shell.DesignWidth() = widthTwips;
  shell.DesignHeight() = heightTwips;
  const Rect size = PlacedPixels(shell.Scale(), 0, 0, widthTwips, heightTwips);
  gtk_widget_set_size_request(widget_, size.Width, size.Height);
}

void CommandWidget::PlaceInFixed(GtkFixed* fixed, double leftTwips, double topTwips,
                                 double widthTwips, double heightTwips) {
  SetSizeTwips(widthTwips, heightTwips);
  const Rect place = PlacedPixels(ShellOf(widget_).Scale(), leftTwips, topTwips, 0, 0);
  gtk_fixed_put(fixed, widget_, place.X, place.Y);
}

Command* CommandOfWidget(GtkWidget* widget) {
  if (widget == nullptr || !ORVANE_IS_COMMAND(widget)) return nullptr;
  return &ShellOf(widget).Control();
}

std::int16_t ButtonOf(guint button) {
  switch (button) {
    case 1:
      return kLeftButton;
    case 2:
      return kMiddleButton;
    case 3:
      return kRightButton;
    default:
      return 0;
  }
}

}  // namespace orvane
