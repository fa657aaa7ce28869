#include "host/dialog/settings_dialog_gtk.h"

#include <gdk/gdkx.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstring>

#include "host/Orvane_B.h"
#include "host/controls/caption_painter_gtk.h"
#include "host/dialog/Orvane_P.h"
#include "host/dialog/dialog_layout.h"
#include "host/dialog/dialog_pictures.h"
#include "host/dialog/path_elision.h"

namespace orvane {
namespace {

// The labels' font, as the design names it, and its size in points.
constexpr char kLabelFont[] = "ＭＳ Ｐゴシック";
constexpr double kLabelPoints = 9.75;

constexpr std::uint32_t kFormBackColour = 0xC0C0C0;
constexpr std::uint32_t kPanelBackColour = 0xE0E0E0;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// The repeat box: white, and small enough for its place in the panel.
constexpr char kCss[] =
    "#orvane-repeat, #orvane-repeat * { font-family: \"IPAPGothic\", \"IPAGothic\", sans-serif;"
    "  font-size: 9.75pt; }"
    "#orvane-repeat entry { background-color: #ffffff; background-image: none; min-height: 0;"
    "  min-width: 0; padding: 0 2px; margin: 0; border-radius: 0; box-shadow: none; }"
    "#orvane-repeat button { min-height: 0; min-width: 0; padding: 0 1px; margin: 0;"
    "  border-radius: 0; box-shadow: none; }";

void SetSourceColour(cairo_t* cr, std::uint32_t rgb) {
  cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                       (rgb & 0xFF) / 255.0);
}

// A 24-bit picture as a cairo image of its own.
cairo_surface_t* ImageOf(const Picture& picture) {
  cairo_surface_t* image =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.Width, picture.Height);
  if (!picture.Valid()) return image;
  cairo_surface_flush(image);
  unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  for (int y = 0; y < picture.Height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < picture.Width; ++x) row[x] = picture.At(x, y);
  }
  cairo_surface_mark_dirty(image);
  return image;
}

GdkCursor* LinkCursor(GdkDisplay* display) {
  const PointerPicture& picture = LinkPointer();
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, picture.Width, picture.Height);
  if (pixbuf == nullptr) return nullptr;
  guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  for (int y = 0; y < picture.Height; ++y) {
    std::memcpy(pixels + static_cast<size_t>(y) * stride,
                picture.Rgba.data() + static_cast<size_t>(y) * picture.Width * 4,
                static_cast<size_t>(picture.Width) * 4);
  }
  GdkCursor* cursor = gdk_cursor_new_from_pixbuf(display, pixbuf, picture.HotX, picture.HotY);
  g_object_unref(pixbuf);
  return cursor;
}

struct LabelLook {
  std::uint32_t Colour = kBlack;
  bool Underline = false;
  bool Centred = false;
  bool Wrap = false;  // several lines, within the label; otherwise one line
};

// A transparent label: its text from the top-left corner (or centred across). A label of
// several lines wraps its text within its width and cuts it off at its edges. IPAPGothic runs
// a little wider than the font the layout was made for, so a one-line label's text may run a
// few pixels past its right edge rather than lose its last letters.
PangoLayout* LabelLayout(cairo_t* cr, const DialogRect& rect, const LabelLook& look,
                         const TwipsScale& scale) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  pango_cairo_context_set_resolution(pango_layout_get_context(layout), 1440.0 / scale.Y);
  PreferJapanese(layout);
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, FontFamilyFor(kLabelFont).c_str());
  pango_font_description_set_size(font, static_cast<int>(kLabelPoints * PANGO_SCALE));
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  if (look.Underline) {
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
  }
  if (look.Wrap || look.Centred) pango_layout_set_width(layout, rect.Width * PANGO_SCALE);
  if (look.Wrap) pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_alignment(layout, look.Centred ? PANGO_ALIGN_CENTER : PANGO_ALIGN_LEFT);
  return layout;
}

void DrawLabel(cairo_t* cr, const DialogRect& rect, const std::string& text, const LabelLook& look,
               const TwipsScale& scale) {
  if (text.empty() || rect.Width <= 0 || rect.Height <= 0) return;
  cairo_save(cr);
  if (look.Wrap) {
    cairo_rectangle(cr, rect.X, rect.Y, rect.Width, rect.Height);
    cairo_clip(cr);
  }
  PangoLayout* layout = LabelLayout(cr, rect, look, scale);
  pango_layout_set_text(layout, text.c_str(), -1);
  SetSourceColour(cr, look.Colour);
  cairo_move_to(cr, rect.X, rect.Y);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  cairo_restore(cr);
}

// As much of a path as the label's lines hold, elided in the middle. A line counts when most
// of it shows: the label's height is a hair short of two lines of its font.
std::string FittedPath(cairo_t* cr, const DialogRect& rect, const std::string& path,
                       const LabelLook& look, const TwipsScale& scale) {
  if (rect.Width <= 0 || rect.Height <= 0) return path;
  PangoLayout* layout = LabelLayout(cr, rect, look, scale);
  pango_layout_set_text(layout, "X", -1);
  int lineHeight = 0;
  pango_layout_get_pixel_size(layout, nullptr, &lineHeight);
  const int lines = std::max(1, (rect.Height + lineHeight / 4) / std::max(1, lineHeight));
  std::string fitted = ElideMiddle(path, [&](std::string_view text) {
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    return pango_layout_get_line_count(layout) <= lines;
  });
  g_object_unref(layout);
  return fitted;
}

void InstallCss() {
  static bool installed = false;
  if (installed) return;
  GdkScreen* screen = gdk_screen_get_default();
  if (screen == nullptr) return;
  installed = true;
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, kCss, -1, nullptr);
  gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

gboolean MatchesMusicFilterInfo(const GtkFileFilterInfo* info, gpointer) {
  if ((info->contains & GTK_FILE_FILTER_DISPLAY_NAME) && info->display_name != nullptr) {
    return MatchesMusicFilter(info->display_name);
  }
  if ((info->contains & GTK_FILE_FILTER_FILENAME) && info->filename != nullptr) {
    return MatchesMusicFilter(info->filename);
  }
  return FALSE;
}

void CollectCommands(GtkWidget* widget, gpointer data) {
  auto* commands = static_cast<std::vector<Command*>*>(data);
  if (Command* command = CommandOfWidget(widget)) commands->push_back(command);
  if (GTK_IS_CONTAINER(widget)) gtk_container_foreach(GTK_CONTAINER(widget), CollectCommands, data);
}

}  // namespace

SettingsDialogWindow::SettingsDialogWindow(Platform& platform)
    : platform_(platform),
      scale_{platform.screenMetrics.TwipsPerPixelX(), platform.screenMetrics.TwipsPerPixelY()},
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
  g_signal_connect(window_, "button-press-event", G_CALLBACK(ButtonPressed), this);
  g_signal_connect(window_, "button-release-event", G_CALLBACK(ButtonReleased), this);
  g_signal_connect(window_, "motion-notify-event", G_CALLBACK(PointerMoved), this);
  g_signal_connect(window_, "delete-event", G_CALLBACK(DeleteRequested), this);

  formArea_ = gtk_fixed_new();
  gtk_widget_set_size_request(formArea_, scale_.ToPixelsX(kDialogInnerWidth),
                              scale_.ToPixelsY(kDialogInnerHeight));
  g_signal_connect(formArea_, "draw", G_CALLBACK(DrawForm), this);
  g_signal_connect(formArea_, "size-allocate", G_CALLBACK(FormAllocated), this);
  gtk_container_add(GTK_CONTAINER(window_), formArea_);

  const DialogRect panel = ToPixels(DialogControlNamed("Pic_C"), scale_);
  panel_ = gtk_fixed_new();
  gtk_widget_set_size_request(panel_, panel.Width, panel.Height);
  g_signal_connect(panel_, "draw", G_CALLBACK(DrawPanel), this);
  // The music file's whole path, however much of it the label shows.
  gtk_widget_set_has_tooltip(panel_, TRUE);
  g_signal_connect(panel_, "query-tooltip", G_CALLBACK(FileTooltip), this);
  gtk_fixed_put(GTK_FIXED(formArea_), panel_, panel.X, panel.Y);

  const DialogRect repeat = ToPixels(DialogControlNamed("BGM_Repeat"), scale_);
  repeat_ = gtk_combo_box_text_new_with_entry();
  gtk_widget_set_name(repeat_, "orvane-repeat");
  if (GtkWidget* entry = gtk_bin_get_child(GTK_BIN(repeat_)); GTK_IS_ENTRY(entry)) {
    gtk_entry_set_width_chars(GTK_ENTRY(entry), 1);
    gtk_entry_set_max_width_chars(GTK_ENTRY(entry), 1);
  }
  gtk_widget_set_size_request(repeat_, repeat.Width, repeat.Height);
  gtk_fixed_put(GTK_FIXED(panel_), repeat_, repeat.X, repeat.Y);

  PlaceCommand(fileButton_, panel_, "Cmd_File", "...");
  PlaceCommand(setButton_, formArea_, "Cmd_Set", "設定");
  PlaceCommand(cancelButton_, formArea_, "Cmd_Can", "ｷｬﾝｾﾙ");
  fileButton_.Control().ConnectClick([this] { form_.ChooseFile(); });
  setButton_.Control().ConnectClick([this] { form_.Save(); });
  cancelButton_.Control().ConnectClick([this] { form_.Cancel(); });

  tileImage_ = ImageOf(BackgroundTile());
  markImages_[0] = ImageOf(MarkPicture(0));
  markImages_[1] = ImageOf(MarkPicture(1));

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
  }
}

SettingsDialogWindow::~SettingsDialogWindow() {
  if (loop_ != nullptr) g_main_loop_unref(loop_);
  gtk_widget_destroy(window_);
  g_object_unref(window_);
  if (linkPointer_ != nullptr) g_object_unref(linkPointer_);
  if (busyPointer_ != nullptr) g_object_unref(busyPointer_);
  cairo_surface_destroy(tileImage_);
  for (cairo_surface_t* image : markImages_) cairo_surface_destroy(image);
}

void SettingsDialogWindow::PlaceCommand(CommandWidget& button, GtkWidget* container,
                                        std::string_view name, const char* caption) {
  const DialogControl& place = DialogControlNamed(name);
  button.PlaceInFixed(GTK_FIXED(container), place.Left, place.Top, place.Width, place.Height);
  // The stored design: the caption, and the dialog's font (ＭＳ Ｐゴシック 9.75 points).
  PropertyBag design;
  design.Write("Caption", std::string(caption), std::string("Command"));
  design.Write("Font", FontInfo{}, button.Options().AmbientFont);
  button.Control().LoadFromBag(design);
}

void SettingsDialogWindow::Show() {
  form_.Load();
  if (closed_) return;
  gtk_widget_show_all(window_);
  // GTK hands the first focusable control the focus on showing; no control has it yet.
  gtk_window_set_focus(GTK_WINDOW(window_), nullptr);
}

void SettingsDialogWindow::RunModal() {
  if (closed_) return;
  if (loop_ == nullptr) loop_ = g_main_loop_new(nullptr, FALSE);
  g_main_loop_run(loop_);
}

GtkWidget* SettingsDialogWindow::ControlWidget(std::string_view name) const {
  if (name == "Pic_C") return panel_;
  if (name == "BGM_Repeat") return repeat_;
  if (name == "Cmd_File") return fileButton_.Widget();
  if (name == "Cmd_Set") return setButton_.Widget();
  if (name == "Cmd_Can") return cancelButton_.Widget();
  return nullptr;
}

WindowHandle SettingsDialogWindow::Handle() {
  GdkWindow* window = gtk_widget_get_window(window_);
  if (window == nullptr || !GDK_IS_X11_WINDOW(window)) return 0;
  return GDK_WINDOW_XID(window);
}

// A window manager's frame is not known before the window is shown, so the inside stands
// for the whole dialog.
DialogPoint SettingsDialogWindow::Size() {
  return DialogPoint{scale_.ToPixelsX(kDialogInnerWidth), scale_.ToPixelsY(kDialogInnerHeight)};
}

void SettingsDialogWindow::Move(DialogPoint topLeft) {
  gtk_window_move(GTK_WINDOW(window_), topLeft.X, topLeft.Y);
  // GTK would move the window only when it is shown; the opening effect needs it in place now.
  if (GdkWindow* window = gtk_widget_get_window(window_)) {
    const DialogPoint size = Size();
    gdk_window_move_resize(window, topLeft.X, topLeft.Y, size.X, size.Y);
  }
}

std::vector<Command*> SettingsDialogWindow::CommandButtons() {
  std::vector<Command*> commands;
  gtk_container_foreach(GTK_CONTAINER(formArea_), CollectCommands, &commands);
  return commands;
}

void SettingsDialogWindow::PaintBackground(const std::vector<RowColour>& rows) {
  rows_ = rows;
  gtk_widget_queue_draw(formArea_);
}

void SettingsDialogWindow::TilePanel(const std::vector<DialogPoint>& positions) {
  tiles_ = positions;
  gtk_widget_queue_draw(panel_);
}

void SettingsDialogWindow::SetChoiceMark(int index, ChoiceMark mark) {
  marks_.at(static_cast<size_t>(index)) = mark;
  gtk_widget_queue_draw(panel_);
}

void SettingsDialogWindow::SetRepeatEnabled(bool enabled) {
  gtk_widget_set_sensitive(repeat_, enabled);
}

void SettingsDialogWindow::SetRepeatText(const std::string& text) {
  if (GtkWidget* entry = gtk_bin_get_child(GTK_BIN(repeat_)); GTK_IS_ENTRY(entry)) {
    gtk_entry_set_text(GTK_ENTRY(entry), text.c_str());
  }
}

std::string SettingsDialogWindow::RepeatText() {
  GtkWidget* entry = gtk_bin_get_child(GTK_BIN(repeat_));
  if (!GTK_IS_ENTRY(entry)) return "";
  return gtk_entry_get_text(GTK_ENTRY(entry));
}

void SettingsDialogWindow::AddRepeatEntry(const std::string& text) {
  gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(repeat_), text.c_str());
}

void SettingsDialogWindow::SetFileCaption(const std::string& text) {
  // A file name need not be UTF-8; it is shown with its stray bytes replaced.
  gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
  fileCaption_ = valid;
  g_free(valid);
  shownCaption_.reset();
  gtk_widget_queue_draw(panel_);
}

std::optional<std::string> SettingsDialogWindow::OpenFile(const OpenFileRequest& request) {
  GtkWidget* chooser = gtk_file_chooser_dialog_new(
      request.Title.c_str(), GTK_WINDOW(window_), GTK_FILE_CHOOSER_ACTION_OPEN, "キャンセル(_C)",
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

bool SettingsDialogWindow::OpenAddress(const std::string& address) {
  GError* error = nullptr;
  const bool opened =
      gtk_show_uri_on_window(GTK_WINDOW(window_), address.c_str(), GDK_CURRENT_TIME, &error);
  if (error != nullptr) g_error_free(error);
  return opened;
}

void SettingsDialogWindow::SetBusyPointer(bool busy) {
  busy_ = busy;
  UpdatePointer();
  // The hourglass has to reach the screen before a slow call, not after it.
  if (GdkWindow* window = gtk_widget_get_window(window_)) {
    gdk_display_flush(gdk_window_get_display(window));
  }
}

void SettingsDialogWindow::UpdatePointer() {
  GdkWindow* window = gtk_widget_get_window(window_);
  if (window == nullptr) return;
  gdk_window_set_cursor(window, busy_ ? busyPointer_ : overLink_ ? linkPointer_ : nullptr);
}

void SettingsDialogWindow::Close() {
  closed_ = true;
  gtk_widget_hide(window_);
  if (loop_ != nullptr && g_main_loop_is_running(loop_)) g_main_loop_quit(loop_);
}

bool SettingsDialogWindow::OnFormWindow(GdkWindow* window) const {
  return window != nullptr && window == gtk_widget_get_window(window_);
}

gboolean SettingsDialogWindow::DrawForm(GtkWidget* widget, cairo_t* cr, gpointer data) {
  auto* self = static_cast<SettingsDialogWindow*>(data);
  const int width = gtk_widget_get_allocated_width(widget);
  const int height = gtk_widget_get_allocated_height(widget);
  SetSourceColour(cr, kFormBackColour);
  cairo_paint(cr);
  for (size_t y = 0; y < self->rows_.size() && static_cast<int>(y) < height; ++y) {
    const RowColour& row = self->rows_[y];
    cairo_set_source_rgb(cr, row.Red / 255.0, row.Green / 255.0, row.Blue / 255.0);
    cairo_rectangle(cr, 0, static_cast<double>(y), width, 1);
    cairo_fill(cr);
  }
  const TwipsScale& scale = self->scale_;
  DrawLabel(cr, ToPixels(DialogControlNamed("lbl", 7), scale), std::string(CreditLine),
            LabelLook{kWhite, false, false}, scale);
  DrawLabel(cr, ToPixels(DialogControlNamed("lbl_URL"), scale), std::string(HomePageAddress),
            LabelLook{kWhite, true, false}, scale);
  return FALSE;  // the controls are drawn over it
}

gboolean SettingsDialogWindow::DrawPanel(GtkWidget* widget, cairo_t* cr, gpointer data) {
  auto* self = static_cast<SettingsDialogWindow*>(data);
  const TwipsScale& scale = self->scale_;
  const int width = gtk_widget_get_allocated_width(widget);
  const int height = gtk_widget_get_allocated_height(widget);
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, width, height);
  cairo_clip(cr);
  SetSourceColour(cr, kPanelBackColour);
  cairo_paint(cr);
  for (const DialogPoint& at : self->tiles_) {
    cairo_set_source_surface(cr, self->tileImage_, at.X, at.Y);
    cairo_paint(cr);
  }

  // The heading's frame: a one-pixel outline just inside its rectangle.
  const DialogRect frame = ToPixels(DialogControlNamed("Shape3", 3), scale);
  SetSourceColour(cr, kBlack);
  cairo_set_line_width(cr, 1.0);
  cairo_rectangle(cr, frame.X + 0.5, frame.Y + 0.5, frame.Width - 1, frame.Height - 1);
  cairo_stroke(cr);

  for (int index = 0; index < 3; ++index) {
    const DialogRect mark = ToPixels(DialogControlNamed("Img_BGM", index), scale);
    cairo_set_source_surface(cr, self->markImages_[static_cast<int>(self->marks_[index])], mark.X,
                             mark.Y);
    cairo_paint(cr);
  }

  const LabelLook black{};
  DrawLabel(cr, ToPixels(DialogControlNamed("lbl", 15), scale), "BGM",
            LabelLook{kBlack, false, true}, scale);
  DrawLabel(cr, ToPixels(DialogControlNamed("lbl_BGM", 1), scale), "音楽CD", black, scale);
  DrawLabel(cr, ToPixels(DialogControlNamed("lbl", 14), scale), "曲目をﾘﾋﾟｰﾄ", black, scale);
  DrawLabel(cr, ToPixels(DialogControlNamed("lbl_BGM", 0), scale), "なし", black, scale);
  DrawLabel(cr, ToPixels(DialogControlNamed("lbl_BGM", 2), scale), "MP3、WAV", black, scale);
  const DialogRect file = ToPixels(DialogControlNamed("lbl_Fname"), scale);
  const LabelLook fileLook{kBlack, false, false, true};
  if (!self->shownCaption_) {
    self->shownCaption_ = FittedPath(cr, file, self->fileCaption_, fileLook, scale);
  }
  DrawLabel(cr, file, *self->shownCaption_, fileLook, scale);
  cairo_restore(cr);
  return FALSE;
}

void SettingsDialogWindow::FormAllocated(GtkWidget*, GdkRectangle* allocation, gpointer data) {
  auto* self = static_cast<SettingsDialogWindow*>(data);
  if (allocation->height == self->formHeight_) return;
  self->formHeight_ = allocation->height;
  self->form_.Resize(allocation->height);
}

gboolean SettingsDialogWindow::ButtonPressed(GtkWidget*, GdkEventButton* event, gpointer data) {
  auto* self = static_cast<SettingsDialogWindow*>(data);
  if (event->type != GDK_BUTTON_PRESS || !self->OnFormWindow(event->window)) return FALSE;
  const int button = ButtonOf(event->button);
  if (button == 0) return FALSE;
  self->form_.MouseDown(button, static_cast<int>(event->x), static_cast<int>(event->y));
  return TRUE;
}

gboolean SettingsDialogWindow::ButtonReleased(GtkWidget*, GdkEventButton* event, gpointer data) {
  auto* self = static_cast<SettingsDialogWindow*>(data);
  if (!self->OnFormWindow(event->window)) return FALSE;
  const int button = ButtonOf(event->button);
  if (button == 0) return FALSE;
  self->form_.MouseUp(button, static_cast<int>(event->x), static_cast<int>(event->y));
  return TRUE;
}

gboolean SettingsDialogWindow::PointerMoved(GtkWidget*, GdkEventMotion* event, gpointer data) {
  auto* self = static_cast<SettingsDialogWindow*>(data);
  if (!self->OnFormWindow(event->window)) return FALSE;
  const bool over = self->form_.OverLink(static_cast<int>(event->x), static_cast<int>(event->y));
  if (over != self->overLink_) {
    self->overLink_ = over;
    self->UpdatePointer();
  }
  return FALSE;
}

gboolean SettingsDialogWindow::FileTooltip(GtkWidget*, gint x, gint y, gboolean,
                                           GtkTooltip* tooltip, gpointer data) {
  auto* self = static_cast<SettingsDialogWindow*>(data);
  const DialogRect file = ToPixels(DialogControlNamed("lbl_Fname"), self->scale_);
  if (self->fileCaption_.empty() || !file.Contains(x, y)) return FALSE;
  gtk_tooltip_set_text(tooltip, self->fileCaption_.c_str());
  return TRUE;
}

gboolean SettingsDialogWindow::DeleteRequested(GtkWidget*, GdkEvent*, gpointer data) {
  static_cast<SettingsDialogWindow*>(data)->form_.Cancel();
  return TRUE;  // the form has taken the window down itself
}

void ShowSettingsDialog(Platform& platform) {
  SettingsDialogWindow dialog(platform);
  dialog.Show();
  dialog.RunModal();
}

}  // namespace orvane
