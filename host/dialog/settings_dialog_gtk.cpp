// The settings dialog as a GTK 3 window, its events forwarded to SettingsForm.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <cstdio>
#include <memory>
#include <string>

#include "common/ascii_case.h"
#include "host/Orvane_B.h"
#include "host/controls/command_widget_gtk.h"
#include "host/controls/face_painter_gtk.h"
#include "host/dialog/Orvane_P.h"
#include "host/dialog/dialog_paint_gtk.h"
#include "host/dialog/frame_extents_x11.h"

namespace orvane {
namespace {

// The names the music filter shows: those ending in ".mp3" or ".wav" in any letter case. The
// filter asks for display names only.
gboolean MatchesMusicFilterInfo(const GtkFileFilterInfo* info, gpointer) {
  const char* name = info->display_name;
  return name != nullptr &&
         (common::EndsWithIgnoringCase(name, ".mp3") || common::EndsWithIgnoringCase(name, ".wav"));
}

// GTK's open-file dialog over owner: the chosen path, or nothing when the user cancelled.
std::optional<std::string> RunOpenFileDialog(GtkWindow* owner, const OpenFileRequest& request) {
  GtkWidget* chooser = gtk_file_chooser_dialog_new(
      request.Title.c_str(), owner, GTK_FILE_CHOOSER_ACTION_OPEN, "キャンセル(_C)",
      GTK_RESPONSE_CANCEL, "開く(_O)", GTK_RESPONSE_ACCEPT, nullptr);
  gtk_file_chooser_set_local_only(GTK_FILE_CHOOSER(chooser), TRUE);
  GtkFileFilter* filter = gtk_file_filter_new();
  gtk_file_filter_set_name(filter, request.FilterName.c_str());
  gtk_file_filter_add_custom(filter, GTK_FILE_FILTER_DISPLAY_NAME, MatchesMusicFilterInfo, nullptr,
                             nullptr);
  gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(chooser), filter);
  gtk_file_chooser_set_filter(GTK_FILE_CHOOSER(chooser), filter);
  if (!request.InitialFolder.empty()) {
    gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), request.InitialFolder.c_str());
  }
  std::optional<std::string> chosen;
  if (gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
    if (gchar* path = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser))) {
      chosen = path;
      g_free(path);
    }
  }
  gtk_widget_destroy(chooser);
  return chosen;
}

// The repeat box in the table's font and colour, and small enough for its place in the panel.
void InstallCss() {
  static bool installed = false;
  GdkScreen* screen = gdk_screen_get_default();
  if (installed || screen == nullptr) return;
  installed = true;
  const DialogControl& box = DialogControlNamed("BGM_Repeat");
  const FontInfo font = DialogFont(box);
  // The size with a point whatever the locale's decimal sign.
  char size[G_ASCII_DTOSTR_BUF_SIZE];
  g_ascii_dtostr(size, sizeof size, font.Size);
  char css[640];
  std::snprintf(css, sizeof css,
                "#orvane-repeat, #orvane-repeat * { font-family: %s; font-size: %spt; }"
                "#orvane-repeat entry { background-color: #%06x; background-image: none;"
                "  min-height: 0; min-width: 0; padding: 0 2px; margin: 0; border-radius: 0;"
                "  box-shadow: none; }"
                "#orvane-repeat button { min-height: 0; min-width: 0; padding: 0 1px; margin: 0;"
                "  border-radius: 0; box-shadow: none; }",
                FontFamilyFor(font.Name).c_str(), size, static_cast<unsigned>(box.BackColour));
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, css, -1, nullptr);
  gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

class SettingsDialogGtk final : ShownFormView {
 public:
  explicit SettingsDialogGtk(Platform& platform);
  ~SettingsDialogGtk() override;

  // Runs the load steps and a main loop of its own until the dialog has closed.
  void ShowModal() {
    form_.Open();
    if (form_.Unloaded()) return;
    loop_ = g_main_loop_new(nullptr, FALSE);
    g_main_loop_run(loop_);
  }

 private:
  // SettingsFormView
  WindowHandle Handle() override {
    GdkWindow* window = gtk_widget_get_window(window_);
    if (window == nullptr || !GDK_IS_X11_WINDOW(window)) return 0;
    return GDK_WINDOW_XID(window);
  }
  void Move(DialogPoint topLeft) override;
  void SetRepeatEnabled(bool enabled) override { gtk_widget_set_sensitive(repeat_, enabled); }
  void SetRepeatText(const std::string& text) override {
    if (GtkWidget* entry = gtk_bin_get_child(GTK_BIN(repeat_)); GTK_IS_ENTRY(entry)) {
      gtk_entry_set_text(GTK_ENTRY(entry), text.c_str());
    }
  }
  std::string RepeatText() override {
    GtkWidget* entry = gtk_bin_get_child(GTK_BIN(repeat_));
    return GTK_IS_ENTRY(entry) ? gtk_entry_get_text(GTK_ENTRY(entry)) : "";
  }
  void AddRepeatEntry(const std::string& text) override {
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(repeat_), text.c_str());
  }
  std::optional<std::string> OpenFile(const OpenFileRequest& request) override {
    return RunOpenFileDialog(GTK_WINDOW(window_), request);
  }
  bool OpenAddress(const std::string& address) override {
    GError* error = nullptr;
    const bool opened =
        gtk_show_uri_on_window(GTK_WINDOW(window_), address.c_str(), GDK_CURRENT_TIME, &error);
    if (error != nullptr) g_error_free(error);
    return opened;
  }
  void SetBusyPointer(bool busy) override;
  void Present() override {
    gtk_widget_show_all(window_);
    // GTK hands the first focusable control the focus on showing; no control has it yet.
    gtk_window_set_focus(GTK_WINDOW(window_), nullptr);
  }
  void Close() override {
    gtk_widget_hide(window_);
    if (loop_ != nullptr && g_main_loop_is_running(loop_)) g_main_loop_quit(loop_);
  }
  // ShownFormView
  void Repaint(DialogContainer container) override {
    gtk_widget_queue_draw(container == DialogContainer::Form ? formArea_ : panel_);
  }
  std::string Readable(const std::string& name) override {
    // A file name need not be UTF-8; it is shown with its stray bytes replaced.
    gchar* valid = g_utf8_make_valid(name.c_str(), static_cast<gssize>(name.size()));
    std::string text = valid;
    g_free(valid);
    return text;
  }

  void BuildControls();
  void UpdatePointer();
  bool OnFormWindow(GdkWindow* window) const {
    return window != nullptr && window == gtk_widget_get_window(window_);
  }

  static gboolean Draw(GtkWidget* area, cairo_t* cr, gpointer data) {
    auto* self = static_cast<SettingsDialogGtk*>(data);
    const bool panel = area == self->panel_;
    PaintArea(cr, area, panel ? DialogContainer::Panel : DialogContainer::Form, self->Shown(),
              self->images_, self->scale_);
    return FALSE;  // the controls are drawn over it
  }
  static gboolean ButtonEvent(GtkWidget* widget, GdkEventButton* event, gpointer self);
  static gboolean PointerMoved(GtkWidget* widget, GdkEventMotion* event, gpointer self);
  static gboolean FileTooltip(GtkWidget* widget, gint x, gint y, gboolean keyboard,
                              GtkTooltip* tooltip, gpointer self);

  TwipsScale scale_;
  GtkWidget* window_ = nullptr;
  GtkWidget* formArea_ = nullptr;
  GtkWidget* panel_ = nullptr;
  GtkWidget* repeat_ = nullptr;
  // The Command buttons in the table's order, the file button first.
  std::vector<std::unique_ptr<CommandWidget>> buttons_;
  SettingsForm form_;
  DialogImages images_;
  GdkCursor* linkPointer_ = nullptr;
  GdkCursor* busyPointer_ = nullptr;
  bool overLink_ = false;
  bool busy_ = false;
  int formHeight_ = -1;
  GMainLoop* loop_ = nullptr;
};

SettingsDialogGtk::SettingsDialogGtk(Platform& platform)
    : scale_{platform.screenMetrics.TwipsPerPixelX(), platform.screenMetrics.TwipsPerPixelY()},
      form_(platform, *this) {
  InstallCss();
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  g_object_ref_sink(window_);
  const std::string title(DialogWindowTitle);
  gtk_window_set_title(GTK_WINDOW(window_), title.c_str());
  gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
  gtk_window_set_type_hint(GTK_WINDOW(window_), GDK_WINDOW_TYPE_HINT_DIALOG);
  gtk_window_set_modal(GTK_WINDOW(window_), TRUE);
  gtk_widget_set_app_paintable(window_, TRUE);
  gtk_widget_add_events(window_,
                        GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK);
  g_signal_connect(window_, "button-press-event", G_CALLBACK(ButtonEvent), this);
  g_signal_connect(window_, "button-release-event", G_CALLBACK(ButtonEvent), this);
  g_signal_connect(window_, "motion-notify-event", G_CALLBACK(PointerMoved), this);
  g_signal_connect(window_, "delete-event",
                   G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer self) -> gboolean {
                     static_cast<SettingsDialogGtk*>(self)->form_.Cancel();
                     return TRUE;  // the form has taken the window down itself
                   }),
                   this);
  BuildControls();

  gtk_widget_show_all(formArea_);
  // The dialog's window exists from here on, as the load steps need it.
  gtk_widget_realize(window_);
  if (GdkWindow* window = gtk_widget_get_window(window_)) {
    // A fixed single border with a title bar and a close box: no minimise, no maximise.
    gdk_window_set_decorations(
        window, static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU));
    gdk_window_set_functions(window, static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
    GdkDisplay* display = gdk_window_get_display(window);
    linkPointer_ = LinkCursor(display);
    busyPointer_ = gdk_cursor_new_from_name(display, "wait");
    // The dialog is placed by its whole size, the window manager's frame included.
    if (GDK_IS_X11_DISPLAY(display)) {
      RequestFrameExtents(gdk_x11_display_get_xdisplay(display), Handle());
    }
  }
}

// The form's area, the music panel and the controls with widgets, each where the table says.
void SettingsDialogGtk::BuildControls() {
  formArea_ = gtk_fixed_new();
  gtk_widget_set_size_request(formArea_, scale_.ToPixelsX(kDialogInnerWidth),
                              scale_.ToPixelsY(kDialogInnerHeight));
  g_signal_connect(formArea_, "draw", G_CALLBACK(Draw), this);
  g_signal_connect(formArea_, "size-allocate",
                   G_CALLBACK(+[](GtkWidget*, GdkRectangle* allocation, gpointer data) {
                     auto* self = static_cast<SettingsDialogGtk*>(data);
                     if (allocation->height == self->formHeight_) return;
                     self->formHeight_ = allocation->height;
                     self->form_.Resize(allocation->height);
                   }),
                   this);
  gtk_container_add(GTK_CONTAINER(window_), formArea_);

  for (const DialogControl& control : DialogControls()) {
    const Rect rect = ToPixels(control, scale_);
    GtkWidget* container = control.Container == DialogContainer::Panel ? panel_ : formArea_;
    switch (control.Kind) {
      case DialogControlKind::Panel:
        panel_ = gtk_fixed_new();
        gtk_widget_set_size_request(panel_, rect.Width, rect.Height);
        g_signal_connect(panel_, "draw", G_CALLBACK(Draw), this);
        gtk_widget_set_has_tooltip(panel_, TRUE);
        g_signal_connect(panel_, "query-tooltip", G_CALLBACK(FileTooltip), this);
        gtk_fixed_put(GTK_FIXED(formArea_), panel_, rect.X, rect.Y);
        break;
      case DialogControlKind::Combo:
        repeat_ = gtk_combo_box_text_new_with_entry();
        gtk_widget_set_name(repeat_, "orvane-repeat");
        if (GtkWidget* entry = gtk_bin_get_child(GTK_BIN(repeat_)); GTK_IS_ENTRY(entry)) {
          gtk_entry_set_width_chars(GTK_ENTRY(entry), 1);
          gtk_entry_set_max_width_chars(GTK_ENTRY(entry), 1);
        }
        gtk_widget_set_size_request(repeat_, rect.Width, rect.Height);
        gtk_fixed_put(GTK_FIXED(container), repeat_, rect.X, rect.Y);
        break;
      case DialogControlKind::Command: {
        auto& button = buttons_.emplace_back(std::make_unique<CommandWidget>(scale_));
        button->PlaceInFixed(GTK_FIXED(container), control.Left, control.Top, control.Width,
                             control.Height);
        form_.SetUpButton(control, button->Control());
        break;
      }
      default:
        break;  // painted
    }
  }
}

SettingsDialogGtk::~SettingsDialogGtk() {
  if (loop_ != nullptr) g_main_loop_unref(loop_);
  gtk_widget_destroy(window_);
  g_object_unref(window_);
  if (linkPointer_ != nullptr) g_object_unref(linkPointer_);
  if (busyPointer_ != nullptr) g_object_unref(busyPointer_);
}

void SettingsDialogGtk::Move(DialogPoint topLeft) {
  gtk_window_move(GTK_WINDOW(window_), topLeft.X, topLeft.Y);
  // GTK would move the window only when it is shown; the opening effect needs it in place now.
  if (GdkWindow* window = gtk_widget_get_window(window_)) {
    gdk_window_move_resize(window, topLeft.X, topLeft.Y, scale_.ToPixelsX(kDialogInnerWidth),
                           scale_.ToPixelsY(kDialogInnerHeight));
  }
}

void SettingsDialogGtk::SetBusyPointer(bool busy) {
  busy_ = busy;
  UpdatePointer();
  // The hourglass has to reach the screen before a slow call, not after it.
  if (GdkWindow* window = gtk_widget_get_window(window_)) {
    gdk_display_flush(gdk_window_get_display(window));
  }
}

void SettingsDialogGtk::UpdatePointer() {
  GdkWindow* window = gtk_widget_get_window(window_);
  if (window == nullptr) return;
  gdk_window_set_cursor(window, busy_ ? busyPointer_ : overLink_ ? linkPointer_ : nullptr);
}

// Presses (not the second and third of a double or triple click) and releases.
gboolean SettingsDialogGtk::ButtonEvent(GtkWidget*, GdkEventButton* event, gpointer data) {
  auto* self = static_cast<SettingsDialogGtk*>(data);
  const int button = ButtonOf(event->button);
  if (!self->OnFormWindow(event->window) || button == 0) return FALSE;
  const int x = static_cast<int>(event->x), y = static_cast<int>(event->y);
  if (event->type == GDK_BUTTON_PRESS) {
    self->form_.MouseDown(button, x, y);
  } else if (event->type == GDK_BUTTON_RELEASE) {
    self->form_.MouseUp(button, x, y);
  } else {
    return FALSE;
  }
  return TRUE;
}

gboolean SettingsDialogGtk::PointerMoved(GtkWidget*, GdkEventMotion* event, gpointer data) {
  auto* self = static_cast<SettingsDialogGtk*>(data);
  if (!self->OnFormWindow(event->window)) return FALSE;
  const bool over = self->form_.OverLink(static_cast<int>(event->x), static_cast<int>(event->y));
  if (over != self->overLink_) {
    self->overLink_ = over;
    self->UpdatePointer();
  }
  return FALSE;
}

// The music file's label, which may show less than the whole path, has it as its tooltip.
gboolean SettingsDialogGtk::FileTooltip(GtkWidget*, gint x, gint y, gboolean, GtkTooltip* tooltip,
                                        gpointer data) {
  auto* self = static_cast<SettingsDialogGtk*>(data);
  const std::string& path = self->Shown().FileCaption;
  if (path.empty() || !ToPixels(DialogControlNamed("lbl_Fname"), self->scale_).Contains(x, y))
    return FALSE;
  gtk_tooltip_set_text(tooltip, path.c_str());
  return TRUE;
}

}  // namespace

void ShowSettingsDialog(Platform& platform) {
  SettingsDialogGtk dialog(platform);
  dialog.ShowModal();
}

}  // namespace orvane
