#include "platform/linux/user_folders.h"

#include <glib.h>

namespace orvane {

std::string DesktopMusicFolder() {
  const gchar* folder = g_get_user_special_dir(G_USER_DIRECTORY_MUSIC);
  if (folder == nullptr || !g_file_test(folder, G_FILE_TEST_IS_DIR)) return "";
  return folder;
}

std::string DesktopHomeFolder() {
  const gchar* home = g_get_home_dir();
  return home != nullptr ? home : "";
}

}  // namespace orvane
