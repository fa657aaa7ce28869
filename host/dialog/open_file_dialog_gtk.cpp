#include "host/dialog/open_file_dialog_gtk.h"

#include "common/ascii_case.h"

namespace orvane {
namespace {

// The names the music filter shows: those ending in ".mp3" or ".wav" in any letter case. The
// filter asks for display names only.
gboolean MatchesMusicFilterInfo(const GtkFileFilterInfo* info, gpointer) {
  const char* name = info->display_name;
  return name != nullptr &&
         (common::EndsWithIgnoringCase(name, ".mp3") || common::EndsWithIgnoringCase(name, ".wav"));
}

}  // namespace

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

}  // namespace orvane
