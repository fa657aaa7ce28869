#pragma once

#include "platform/cursor.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/pointer.h"
#include "platform/process.h"
#include "platform/rect_animation.h"
#include "platform/screen_metrics.h"
#include "platform/timers.h"
#include "platform/user_files.h"
#include "platform/window_finder.h"
#include "platform/window_geometry.h"

namespace orvane {

// Everything the host asks of the window system and the operating system. Main gets one
// and hands it on to the preview, the saver window and the settings dialog, so that their
// logic runs the same against the real X11/GTK parts and against FakePlatform in tests.
struct Platform {
  WindowFinder& windowFinder;
  Cursor& cursor;
  MessageBox& messageBox;
  WindowGeometry& windowGeometry;
  Pointer& pointer;
  RectAnimation& rectAnimation;
  ScreenMetrics& screenMetrics;
  FileSystem& fileSystem;
  Process& process;
  Timers& timers;
  UserFiles& userFiles;
};

}  // namespace orvane
