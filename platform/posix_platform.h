#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/process.h"

namespace orvane {

// The parts of the platform that need only POSIX.
std::unique_ptr<FileSystem> MakePosixFileSystem();
// beforeExit runs in EndProcess just before the process ends (the X11 platform flushes its
// display there).
std::unique_ptr<Process> MakePosixProcess(std::function<void()> beforeExit = {});

}  // namespace orvane
