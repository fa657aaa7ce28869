#include "renderer/egl_context.h"

namespace orvane::renderer {

EglContext::EglContext(wl_display* wayland) {
  display_ = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, wayland, nullptr);
  if (display_ == EGL_NO_DISPLAY || !eglInitialize(display_, nullptr, nullptr)) {
    display_ = EGL_NO_DISPLAY;
    return;
  }
  const EGLint wanted[] = {EGL_SURFACE_TYPE,
                           EGL_WINDOW_BIT,
                           EGL_RENDERABLE_TYPE,
                           EGL_OPENGL_BIT,
                           EGL_RED_SIZE,
                           8,
                           EGL_GREEN_SIZE,
                           8,
                           EGL_BLUE_SIZE,
                           8,
                           EGL_DEPTH_SIZE,
                           1,
                           EGL_NONE};
  EGLConfig configs[64];
  EGLint count = 0;
  if (!eglBindAPI(EGL_OPENGL_API) || !eglChooseConfig(display_, wanted, configs, 64, &count) ||
      count < 1)
    return;
  // The tunnel is opaque: a config without alpha, where there is one, so that the compositor
  // does not blend the clear colour's zero alpha with what lies below.
  config_ = configs[0];
  for (EGLint i = 0; i < count; ++i) {
    EGLint alpha = -1;
    if (eglGetConfigAttrib(display_, configs[i], EGL_ALPHA_SIZE, &alpha) && alpha == 0) {
      config_ = configs[i];
      break;
    }
  }
  // No version asked for: the highest compatibility-profile OpenGL there is.
  context_ = eglCreateContext(display_, config_, EGL_NO_CONTEXT, nullptr);
}

EglContext::~EglContext() {
  if (display_ == EGL_NO_DISPLAY) return;
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (context_ != EGL_NO_CONTEXT) eglDestroyContext(display_, context_);
  eglTerminate(display_);
}

EglWindow::EglWindow(const EglContext& egl, wl_surface* surface, int width, int height)
    : egl_(egl), width_(width), height_(height) {
  window_ = wl_egl_window_create(surface, width, height);
  if (window_ == nullptr) return;
  surface_ = eglCreateWindowSurface(egl.display(), egl.config(),
                                    reinterpret_cast<EGLNativeWindowType>(window_), nullptr);
}

EglWindow::~EglWindow() {
  // A surface still current would outlive its window inside EGL.
  if (surface_ != EGL_NO_SURFACE) {
    if (eglGetCurrentSurface(EGL_DRAW) == surface_)
      eglMakeCurrent(egl_.display(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroySurface(egl_.display(), surface_);
  }
  if (window_ != nullptr) wl_egl_window_destroy(window_);
}

void EglWindow::resize(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = width, height_ = height;
  wl_egl_window_resize(window_, width, height, 0, 0);
}

bool EglWindow::makeCurrent() {
  if (!eglMakeCurrent(egl_.display(), surface_, surface_, egl_.context())) return false;
  // The interval belongs to the surface that is current when it is set.
  if (!intervalSet_) intervalSet_ = eglSwapInterval(egl_.display(), 0);
  return true;
}

void EglWindow::swap() {
  eglSwapBuffers(egl_.display(), surface_);
}

}  // namespace orvane::renderer
