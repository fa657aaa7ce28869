#pragma once

#include <optional>
#include <string>

#include "host/dialog/open_file_request.h"
#include "platform/win32/windows_api.h"

namespace orvane {

// Runs the system's open-file dialog over owner as the request says: the chosen path in the
// ANSI code page, or nothing when the user cancelled or the dialog failed.
std::optional<std::string> RunOpenFileDialog(HWND owner, const OpenFileRequest& request);

}  // namespace orvane
