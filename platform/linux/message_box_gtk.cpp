#include <gtk/gtk.h>

#include <string>

#include "platform/linux/x11_platform.h"

namespace orvane {
namespace {

// IPAPGothic stands in for the Japanese Windows font, so the Japanese texts always render;
// with another Japanese font alone, the generic family's fallback finds it.
constexpr char kCss[] =
    ".orvane-message, .orvane-message * {"
    "  font-family: \"IPAPGothic\", \"IPAGothic\", sans-serif; }";

class GtkMessageBox final : public MessageBox {
 public:
  void ShowMessage(std::string_view text) override {
    InstallFont();
    const std::string message(text);
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER,
                                               GTK_BUTTONS_OK, "%s", message.c_str());
    const std::string caption(MessageBoxCaption);
    gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    gtk_style_context_add_class(gtk_widget_get_style_context(dialog), "orvane-message");
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    while (gtk_events_pending()) gtk_main_iteration();
  }

 private:
  void InstallFont() {
    if (installed_) return;
    installed_ = true;
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, kCss, -1, nullptr);
    if (GdkScreen* screen = gdk_screen_get_default()) {
      gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                                GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    }
    g_object_unref(provider);
  }

  bool installed_ = false;
};

}  // namespace

std::unique_ptr<MessageBox> MakeGtkMessageBox() {
  return std::make_unique<GtkMessageBox>();
}

}  // namespace orvane
