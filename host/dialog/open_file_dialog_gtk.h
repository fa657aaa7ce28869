#pragma once

#include <gtk/gtk.h>

#include <optional>
#include <string>

#include "host/dialog/open_file_request.h"

namespace orvane {

// Runs GTK's open-file dialog over owner as the request says: the chosen path, or nothing when
// the user cancelled.
std::optional<std::string> RunOpenFileDialog(GtkWindow* owner, const OpenFileRequest& request);

}  // namespace orvane
