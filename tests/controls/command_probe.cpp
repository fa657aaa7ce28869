// A window at the screen's top left corner with one Command button, "設定" (1215 x 375 twips
// at 300, 300), and an entry below it, for the display tests. It prints "click" for every Click.
#include <gtk/gtk.h>

#include <cstdio>
#include <string>

#include "host/controls/command_widget_gtk.h"

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "command probe");
  gtk_window_set_default_size(GTK_WINDOW(window), 400, 200);
  gtk_window_move(GTK_WINDOW(window), 0, 0);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  GtkWidget* fixed = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(window), fixed);
  GtkWidget* entry = gtk_entry_new();
  gtk_fixed_put(GTK_FIXED(fixed), entry, 20, 140);

  orvane::CommandWidget set(orvane::TwipsScale{});  // 96 dpi, as the tests' displays
  set.PlaceInFixed(GTK_FIXED(fixed), 300, 300, 1215, 375);
  orvane::PropertyBag design;
  design.Write("Caption", std::string("設定"), std::string("Command"));
  design.Write("Font", orvane::FontInfo{}, orvane::FontInfo{});
  set.Control().LoadFromBag(design);
  set.Control().Initialize();
  set.Control().ConnectClick([] {
    std::printf("click\n");
    std::fflush(stdout);
  });

  gtk_widget_show_all(window);
  gtk_widget_grab_focus(entry);
  gtk_main();
  return 0;
}
