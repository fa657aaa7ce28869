// The preview form as X windows of our own on GDK's connection: Img_Prev's background is the
// picture, so that the X server itself draws both and no painting code runs.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo-xlib.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gdk/gdk.h>
#include <gdk/gdkx.h>

#include <cstring>

#include "host/Orvane_R.h"
#include "host/preview_picture.h"
#include "platform/linux/x11_error_trap.h"

namespace orvane {
namespace {

// The built-in JPEG decoded, or nullptr (the form then stays black).
GdkPixbuf* DecodePicture(std::span<const std::uint8_t> jpeg) {
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("jpeg", nullptr);
  if (loader == nullptr) return nullptr;
  const bool written = gdk_pixbuf_loader_write(loader, jpeg.data(), jpeg.size(), nullptr);
  // The loader is closed whatever the write gave.
  const bool closed = gdk_pixbuf_loader_close(loader, nullptr);
  GdkPixbuf* pixbuf = written && closed ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
  if (pixbuf != nullptr) g_object_ref(pixbuf);
  g_object_unref(loader);
  return pixbuf;
}

class X11PreviewForm final : public PreviewForm {
 public:
  X11PreviewForm(Display* display, std::function<void()> onUnload)
      : display_(display),
        onUnload_(std::move(onUnload)),
        wmProtocols_(XInternAtom(display, "WM_PROTOCOLS", False)),
        wmDeleteWindow_(XInternAtom(display, "WM_DELETE_WINDOW", False)) {
    X11ErrorTrap trap(display_);
    const int screen = DefaultScreen(display_);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display_, screen);
    attributes.border_pixel = BlackPixel(display_, screen);
    // Chosen when the window is made, so that its end is never missed.
    attributes.event_mask = StructureNotifyMask;
    form_ = XCreateWindow(display_, RootWindow(display_, screen), 0, 0, 1, 1, 0, CopyFromParent,
                          InputOutput, CopyFromParent, CWBackPixel | CWBorderPixel | CWEventMask,
                          &attributes);
    if (form_ != 0) {
      XStoreName(display_, form_, kPreviewTitle);
      XChangeProperty(display_, form_, XInternAtom(display_, "_NET_WM_NAME", False),
                      XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(kPreviewTitle),
                      static_cast<int>(std::strlen(kPreviewTitle)));
      XSetWMProtocols(display_, form_, &wmDeleteWindow_, 1);
      image_ = XCreateWindow(display_, form_, 0, 0, 1, 1, 0, CopyFromParent, InputOutput,
                             CopyFromParent, CWBackPixel, &attributes);
      if (image_ != 0) LoadPicture(screen);
    }
    if (trap.Failed()) {
      if (form_ != 0) XDestroyWindow(display_, form_);
      form_ = image_ = 0;
      return;
    }
    gdk_window_add_filter(nullptr, Filter, this);
    filtering_ = true;
  }

  ~X11PreviewForm() override {
    if (filtering_) gdk_window_remove_filter(nullptr, Filter, this);
    if (form_ != 0) {
      X11ErrorTrap trap(display_);
      XDestroyWindow(display_, form_);
    }
  }

  X11PreviewForm(const X11PreviewForm&) = delete;
  X11PreviewForm& operator=(const X11PreviewForm&) = delete;

  WindowHandle Window() const override { return form_; }
  int PictureWidth() const override { return pictureWidth_; }
  int PictureHeight() const override { return pictureHeight_; }

  void Arrange(const PreviewLayout& layout) override {
    if (form_ == 0) return;
    X11ErrorTrap trap(display_);
    showable_ = layout.FormShown();
    if (showable_) {
      XMoveResizeWindow(display_, form_, 0, 0, static_cast<unsigned>(layout.FormWidth),
                        static_cast<unsigned>(layout.FormHeight));
    }
    if (layout.PictureShown()) {
      // The background pixmap is not scaled; a window smaller than it shows its top-left part.
      XMoveResizeWindow(display_, image_, 0, 0, static_cast<unsigned>(layout.ShownWidth),
                        static_cast<unsigned>(layout.ShownHeight));
      XMapWindow(display_, image_);
    } else {
      XUnmapWindow(display_, image_);
    }
  }

  void Show() override {
    if (form_ == 0 || !showable_) return;
    X11ErrorTrap trap(display_);
    XMapWindow(display_, form_);
  }

 private:
  // Draws the picture into a pixmap that becomes Img_Prev's background. The server keeps the
  // pixmap for the window, so ours is freed at once.
  void LoadPicture(int screen) {
    GdkPixbuf* pixbuf = DecodePicture(PreviewPictureJpeg());
    if (pixbuf == nullptr) return;
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    const Pixmap pixmap =
        XCreatePixmap(display_, image_, static_cast<unsigned>(width), static_cast<unsigned>(height),
                      static_cast<unsigned>(DefaultDepth(display_, screen)));
    cairo_surface_t* surface =
        cairo_xlib_surface_create(display_, pixmap, DefaultVisual(display_, screen), width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    gdk_cairo_set_source_pixbuf(cr, pixbuf, 0, 0);
    cairo_paint(cr);
    const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    cairo_surface_destroy(surface);
    g_object_unref(pixbuf);
    if (drawn) {
      XSetWindowBackgroundPixmap(display_, image_, pixmap);
      pictureWidth_ = width;
      pictureHeight_ = height;
    }
    XFreePixmap(display_, pixmap);
  }

  static GdkFilterReturn Filter(GdkXEvent* native, GdkEvent*, gpointer data) {
    auto* self = static_cast<X11PreviewForm*>(data);
    const XEvent* event = static_cast<const XEvent*>(native);
    if (self->form_ == 0) return GDK_FILTER_CONTINUE;
    const ::Window window = event->xany.window;
    if (event->type == DestroyNotify && event->xdestroywindow.window == self->form_) {
      // Gone with its parent, or closed by someone else: the form is unloaded.
      self->form_ = self->image_ = 0;
      self->Unload();
      return GDK_FILTER_REMOVE;
    }
    if (event->type == ClientMessage && window == self->form_ &&
        event->xclient.message_type == self->wmProtocols_ && event->xclient.format == 32 &&
        static_cast<Atom>(event->xclient.data.l[0]) == self->wmDeleteWindow_) {
      // Asked to close: the window goes, and its DestroyNotify unloads the form.
      X11ErrorTrap trap(self->display_);
      XDestroyWindow(self->display_, self->form_);
      return GDK_FILTER_REMOVE;
    }
    // GDK does not know these windows; their events are ours alone.
    return window == self->form_ || window == self->image_ ? GDK_FILTER_REMOVE
                                                           : GDK_FILTER_CONTINUE;
  }

  void Unload() {
    const std::function<void()> onUnload = onUnload_;  // may end the process
    if (onUnload) onUnload();
  }

  Display* display_;
  std::function<void()> onUnload_;
  Atom wmProtocols_;
  Atom wmDeleteWindow_;
  ::Window form_ = 0;
  ::Window image_ = 0;
  int pictureWidth_ = 0;
  int pictureHeight_ = 0;
  bool showable_ = false;
  bool filtering_ = false;
};

std::unique_ptr<PreviewForm> LoadX11PreviewForm(std::function<void()> onUnload) {
  GdkDisplay* gdkDisplay = gdk_display_get_default();
  if (gdkDisplay == nullptr || !GDK_IS_X11_DISPLAY(gdkDisplay)) return nullptr;
  return std::make_unique<X11PreviewForm>(gdk_x11_display_get_xdisplay(gdkDisplay),
                                          std::move(onUnload));
}

}  // namespace

void StartPreview(WindowHandle hostWindow, Platform& platform) {
  StartPreviewWith(hostWindow, platform, LoadX11PreviewForm);
}

}  // namespace orvane
