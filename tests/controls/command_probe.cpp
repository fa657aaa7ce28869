// A small window with three Command buttons and an entry, for the display tests. It
// prints one line for each event the tests watch:
//   ready <window id> <x> <y>        once shown (the window's position on the screen)
//   paint <name> <look> <state>      after every paint of a button
//   click <name>                     for every Click
// Buttons: "set" 1215 x 375 twips at (300, 300), "can" at (1800, 300); the entry at
// (300, 2100). Tab order: entry, set, can.

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <cstdio>
#include <memory>
#include <string>

#include "host/controls/command_widget_gtk.h"

namespace {

std::unique_ptr<orvane::CommandWidget> Make(GtkFixed* fixed, const char* name, double left,
                                            double top, double width, const char* caption) {
  auto button = std::make_unique<orvane::CommandWidget>();
  button->PlaceInFixed(fixed, left, top, width, 375);
  orvane::PropertyBag design;
  design.Write("Caption", std::string(caption), std::string("Command"));
  design.Write("Font", orvane::FontInfo{}, button->Options().AmbientFont);
  orvane::Command& control = button->Control();
  const std::string label = name;
  control.SetPaintObserver([label, &control](orvane::Look look) {
    std::printf("paint %s %s %d\n", label.c_str(), orvane::LookName(look), control.Fields().State);
    std::fflush(stdout);
  });
  control.ConnectClick([label] {
    std::printf("click %s\n", label.c_str());
    std::fflush(stdout);
  });
  control.LoadFromBag(design);
  control.Initialize();
  return button;
}

gboolean Announce(gpointer window) {
  GdkWindow* gdk = gtk_widget_get_window(GTK_WIDGET(window));
  int x = 0, y = 0;
  gdk_window_get_origin(gdk, &x, &y);
  std::printf("ready %lu %d %d\n", static_cast<unsigned long>(GDK_WINDOW_XID(gdk)), x, y);
  std::fflush(stdout);
  return G_SOURCE_REMOVE;
}

}  // namespace

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
  gtk_widget_set_size_request(entry, 150, -1);
  gtk_fixed_put(GTK_FIXED(fixed), entry, 20, 140);
  auto set = Make(GTK_FIXED(fixed), "set", 300, 300, 1215, "設定");
  auto can = Make(GTK_FIXED(fixed), "can", 1800, 300, 1215, "ｷｬﾝｾﾙ");

  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  GList* chain = nullptr;
  for (GtkWidget* w : {entry, set->Widget(), can->Widget()}) {
    chain = g_list_append(chain, w);
  }
  gtk_container_set_focus_chain(GTK_CONTAINER(fixed), chain);
  g_list_free(chain);
  G_GNUC_END_IGNORE_DEPRECATIONS

  gtk_widget_show_all(window);
  gtk_widget_grab_focus(entry);
  g_timeout_add(200, Announce, window);
  gtk_main();
  return 0;
}
