#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/user_files.h"

namespace orvane {

// The parts of the platform that need only POSIX.
std::unique_ptr<FileSystem> MakePosixFileSystem();
// beforeExit runs in EndProcess just before the process ends (the X11 platform flushes its
// display there).
std::unique_ptr<Process> MakePosixProcess(std::function<void()> beforeExit = {});
// The settings file by ChooseSettingsPath (platform/settings_place.h), the per-user folder
// being ${XDG_CONFIG_HOME:-$HOME/.config}/orvane.
std::unique_ptr<UserFiles> MakePosixUserFiles();

}  // namespace orvane
