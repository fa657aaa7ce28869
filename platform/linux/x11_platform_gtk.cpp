#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include "platform/linux/posix_platform.h"
#include "platform/linux/x11_platform.h"

namespace orvane {

struct X11Platform::Parts {
  Display* display = nullptr;
  std::unique_ptr<WindowFinder> windowFinder;
  std::unique_ptr<Cursor> cursor;
  std::unique_ptr<MessageBox> messageBox;
  std::unique_ptr<WindowGeometry> windowGeometry;
  std::unique_ptr<Pointer> pointer;
  std::unique_ptr<RectAnimation> rectAnimation;
  std::unique_ptr<ScreenMetrics> screenMetrics;
  std::unique_ptr<FileSystem> fileSystem;
  std::unique_ptr<Process> process;
  std::unique_ptr<Timers> timers;
  std::unique_ptr<UserFiles> userFiles;
  std::unique_ptr<Platform> platform;
};

std::unique_ptr<X11Platform> X11Platform::Open() {
  // Everything here speaks X11, so GTK must not pick another backend.
  gdk_set_allowed_backends("x11");
  if (!gtk_init_check(nullptr, nullptr)) return nullptr;
  GdkDisplay* gdkDisplay = gdk_display_get_default();
  if (gdkDisplay == nullptr || !GDK_IS_X11_DISPLAY(gdkDisplay)) return nullptr;

  auto parts = std::make_unique<Parts>();
  Display* display = gdk_x11_display_get_xdisplay(gdkDisplay);
  parts->display = display;
  parts->windowFinder = MakeX11WindowFinder(display);
  parts->cursor = MakeX11Cursor(display);
  parts->messageBox = MakeGtkMessageBox();
  parts->windowGeometry = MakeX11WindowGeometry(display);
  parts->pointer = MakeX11Pointer(display);
  parts->rectAnimation = MakeX11RectAnimation(display);
  parts->screenMetrics = MakeX11ScreenMetrics(display);
  parts->fileSystem = MakePosixFileSystem();
  // Requests still buffered (a cursor shown again) reach the server before the process ends.
  parts->process = MakePosixProcess([display] { XSync(display, False); });
  parts->timers = MakeGLibTimers();
  parts->userFiles = MakePosixUserFiles();
  parts->platform = std::make_unique<Platform>(
      Platform{*parts->windowFinder, *parts->cursor, *parts->messageBox, *parts->windowGeometry,
               *parts->pointer, *parts->rectAnimation, *parts->screenMetrics, *parts->fileSystem,
               *parts->process, *parts->timers, *parts->userFiles});
  return std::unique_ptr<X11Platform>(new X11Platform(std::move(parts)));
}

X11Platform::X11Platform(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}
X11Platform::~X11Platform() = default;

Platform& X11Platform::platform() {
  return *parts_->platform;
}
_XDisplay* X11Platform::display() const {
  return parts_->display;
}
void X11Platform::RunMainLoop() {
  gtk_main();
}

}  // namespace orvane
