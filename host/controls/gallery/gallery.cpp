// The Command button in every look and a few sizes, plus live buttons to try, for people
// working on the control. Built, not installed:
//
//   command_gallery [--png FILE]
//
// With --png it draws its window into FILE once shown and ends.

#include <gtk/gtk.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/controls/Command.h"
#include "host/controls/caption_painter_gtk.h"
#include "host/controls/command_widget_gtk.h"

namespace {

using orvane::Command;
using orvane::FontInfo;
using orvane::Look;
using orvane::PropertyBag;

const FontInfo kDialogFont{"ＭＳ Ｐゴシック", 9.75, 400, false, false, false, 128};

// One still control: the real model on a platform with no timer and no pointer, brought
// to its look through its own handlers and shown in a drawing area.
class Still final : public orvane::CommandPlatform, public orvane::CommandContainer {
 public:
  Still(const char* look, double width, double height, const char* caption)
      : control_(*this, *this), area_(gtk_drawing_area_new()) {
    gtk_widget_set_size_request(area_, Scale().ToPixelsX(width), Scale().ToPixelsY(height));
    g_signal_connect(area_, "draw", G_CALLBACK(&Still::Draw), this);
    PropertyBag design;
    design.Write("Caption", std::string(caption), std::string("Command"));
    design.Write("Font", kDialogFont, AmbientFont());
    control_.LoadFromBag(design);
    control_.Resize(width, height);
    control_.Initialize();
    const std::string name = look;
    if (name == "HighLight") control_.OnMouseMove();
    if (name == "Selected") control_.OnGotFocus();
    if (name == "HighLightSelect") {
      control_.OnGotFocus();
      control_.OnMouseMove();
    }
    if (name == "Pressed") {
      control_.OnMouseMove();
      control_.OnMouseDown(orvane::kLeftButton);
    }
    if (name == "Disable") control_.SetEnabled(false);
    if (name == "Visible false") control_.SetVisible(false);
  }

  GtkWidget* Widget() const { return area_; }

  void Show() override { gtk_widget_queue_draw(area_); }
  void StartHoverTimer(std::chrono::milliseconds) override {}
  std::optional<orvane::WindowId> WindowUnderPointer() override { return std::nullopt; }
  std::optional<orvane::WindowId> ControlWindow() override { return std::nullopt; }

 private:
  static gboolean Draw(GtkWidget*, cairo_t* cr, gpointer data) {
    auto* self = static_cast<Still*>(data);
    self->painter_.Paint(cr, self->control_, self->Scale());
    return FALSE;
  }

  Command control_;
  GtkWidget* area_;
  orvane::ControlPainter painter_;
};

GtkWidget* Heading(const char* text) {
  GtkWidget* label = gtk_label_new(nullptr);
  gchar* markup = g_markup_printf_escaped("<b>%s</b>", text);
  gtk_label_set_markup(GTK_LABEL(label), markup);
  g_free(markup);
  gtk_widget_set_halign(label, GTK_ALIGN_START);
  return label;
}

struct Live {
  std::unique_ptr<orvane::CommandWidget> file, set, cancel;
  GtkWidget* status = nullptr;
  int clicks = 0;
};

void Clicked(Live& live, const char* name) {
  ++live.clicks;
  const std::string text =
      std::string("Click: ") + name + " (" + std::to_string(live.clicks) + " in all)";
  gtk_label_set_text(GTK_LABEL(live.status), text.c_str());
}

std::string pngPath;

gboolean SavePng(gpointer window) {
  GtkWidget* widget = GTK_WIDGET(window);
  const int w = gtk_widget_get_allocated_width(widget), h = gtk_widget_get_allocated_height(widget);
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cr = cairo_create(image);
  gtk_widget_draw(widget, cr);
  cairo_destroy(cr);
  const bool ok = cairo_surface_write_to_png(image, pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(image);
  if (!ok) std::fprintf(stderr, "command_gallery: cannot write %s\n", pngPath.c_str());
  gtk_main_quit();
  return G_SOURCE_REMOVE;
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--png" && i + 1 < argc) pngPath = argv[++i];
  }

  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Command gallery");
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
  gtk_container_set_border_width(GTK_CONTAINER(box), 12);
  gtk_container_add(GTK_CONTAINER(window), box);

  gtk_box_pack_start(GTK_BOX(box), Heading("Looks (the real control, driven by its handlers)"),
                     FALSE, FALSE, 0);
  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_row_spacing(GTK_GRID(grid), 8);
  gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
  gtk_box_pack_start(GTK_BOX(box), grid, FALSE, FALSE, 0);
  const char* looks[] = {"Normal",  "HighLight", "Selected",     "HighLightSelect",
                         "Pressed", "Disable",   "Visible false"};
  struct Size {
    double w, h;
    const char* caption;
  };
  const Size sizes[] = {
      {1215, 375, "設定"}, {615, 375, "..."}, {1215, 375, "ｷｬﾝｾﾙ"}, {1800, 600, "Command"}};
  std::vector<std::unique_ptr<Still>> stills;
  for (int c = 0; c < 7; ++c) {
    gtk_grid_attach(GTK_GRID(grid), gtk_label_new(looks[c]), c + 1, 0, 1, 1);
  }
  for (int r = 0; r < 4; ++r) {
    char size[32];
    std::snprintf(size, sizeof size, "%.0f × %.0f", sizes[r].w, sizes[r].h);
    GtkWidget* label = gtk_label_new(size);
    gtk_widget_set_halign(label, GTK_ALIGN_END);
    gtk_grid_attach(GTK_GRID(grid), label, 0, r + 1, 1, 1);
    for (int c = 0; c < 7; ++c) {
      stills.push_back(std::make_unique<Still>(looks[c], sizes[r].w, sizes[r].h, sizes[r].caption));
      GtkWidget* cell = stills.back()->Widget();
      gtk_widget_set_halign(cell, GTK_ALIGN_CENTER);
      gtk_widget_set_valign(cell, GTK_ALIGN_CENTER);
      gtk_grid_attach(GTK_GRID(grid), cell, c + 1, r + 1, 1, 1);
    }
  }

  gtk_box_pack_start(
      GTK_BOX(box), Heading("Live (hover, press, Tab; the file button toggles with the check box)"),
      FALSE, FALSE, 0);
  Live live;
  GtkWidget* fixed = gtk_fixed_new();
  gtk_widget_set_size_request(fixed, 7380 / 15, 600 / 15);
  gtk_box_pack_start(GTK_BOX(box), fixed, FALSE, FALSE, 0);
  const auto make = [&](const char* caption, const char* name, double left, double width) {
    auto button = std::make_unique<orvane::CommandWidget>();
    button->PlaceInFixed(GTK_FIXED(fixed), left, 120, width, 375);
    PropertyBag design;
    design.Write("Caption", std::string(caption), std::string("Command"));
    design.Write("Font", kDialogFont, button->Options().AmbientFont);
    button->Control().LoadFromBag(design);
    button->Control().Initialize();
    button->Control().ConnectClick([&live, name] { Clicked(live, name); });
    return button;
  };
  live.file = make("...", "Cmd_File", 420, 615);
  live.set = make("設定", "Cmd_Set", 4740, 1215);
  live.cancel = make("ｷｬﾝｾﾙ", "Cmd_Can", 6000, 1215);
  GtkWidget* toggle = gtk_check_button_new_with_label("Cmd_File enabled");
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(toggle), TRUE);
  gtk_fixed_put(GTK_FIXED(fixed), toggle, 1200 / 15, 130 / 15);
  g_signal_connect(
      toggle, "toggled", G_CALLBACK(+[](GtkToggleButton* t, gpointer data) {
        static_cast<Live*>(data)->file->Control().SetEnabled(gtk_toggle_button_get_active(t));
      }),
      &live);
  live.status = gtk_label_new("Click: none yet");
  gtk_widget_set_halign(live.status, GTK_ALIGN_START);
  gtk_box_pack_start(GTK_BOX(box), live.status, FALSE, FALSE, 0);

  gtk_widget_show_all(window);
  if (!pngPath.empty()) g_timeout_add(300, SavePng, window);
  gtk_main();
  return 0;
}
