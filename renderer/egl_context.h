#pragma once

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <wayland-client.h>
#include <wayland-egl.h>

namespace orvane::renderer {

// EGL on the compositor's connection: one display and one OpenGL context with the fixed
// function pipeline (a compatibility context, so that the drawing code is the GLX shells'),
// shared by every output's window. ok() is false, with nothing left made, when EGL cannot
// give one.
class EglContext {
 public:
  explicit EglContext(wl_display* display);
  ~EglContext();
  EglContext(const EglContext&) = delete;
  EglContext& operator=(const EglContext&) = delete;

  bool ok() const { return context_ != EGL_NO_CONTEXT; }
  EGLDisplay display() const { return display_; }
  EGLConfig config() const { return config_; }
  EGLContext context() const { return context_; }

 private:
  EGLDisplay display_ = EGL_NO_DISPLAY;
  EGLConfig config_ = nullptr;
  EGLContext context_ = EGL_NO_CONTEXT;
};

// One output's window: a wl_egl_window of the surface, in buffer pixels, and the EGL surface on
// it. Its swaps never wait for the compositor (swap interval 0): the frame timer paces them,
// and a hidden output does not hold the others back.
class EglWindow {
 public:
  EglWindow(const EglContext& egl, wl_surface* surface, int width, int height);
  ~EglWindow();
  EglWindow(const EglWindow&) = delete;
  EglWindow& operator=(const EglWindow&) = delete;

  bool ok() const { return surface_ != EGL_NO_SURFACE; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Takes effect with the next frame drawn.
  void resize(int width, int height);
  bool makeCurrent();
  void swap();

 private:
  const EglContext& egl_;
  wl_egl_window* window_ = nullptr;
  EGLSurface surface_ = EGL_NO_SURFACE;
  int width_, height_;
  bool intervalSet_ = false;
};

}  // namespace orvane::renderer
