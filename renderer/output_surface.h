#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <memory>

#include "renderer/egl_context.h"
#include "renderer/layer_shell_protocol.h"
#include "renderer/wayland_owned.h"

namespace orvane::renderer {

// The compositor's objects that every output's surface is made with; the layer shell where it
// is offered, else xdg-shell.
struct SurfaceMakers {
  wl_compositor* compositor = nullptr;
  zwlr_layer_shell_v1* layerShell = nullptr;
  xdg_wm_base* windowManager = nullptr;
};

// The tunnel on one output: the output's own description (its size and scale) from the moment
// it is bound, and from show() on a surface over the whole output, an overlay layer surface
// that takes the keyboard, or a full-screen xdg_toplevel. Drawn at the output's real pixels:
// a buffer of the surface's size times the output's scale.
class OutputSurface {
 public:
  // changed is set whenever the surface wants a frame at once: shown, resized, rescaled.
  OutputSurface(wl_output* output, std::uint32_t name, bool* changed);
  ~OutputSurface();
  OutputSurface(const OutputSurface&) = delete;
  OutputSurface& operator=(const OutputSurface&) = delete;

  std::uint32_t name() const { return name_; }
  void show(const SurfaceMakers& makers, const EglContext& egl);
  // Configured by the compositor and with a window to draw into.
  bool drawable() const { return window_ && window_->ok(); }
  // The compositor has taken the surface away (its output is going).
  bool closed() const { return closed_; }
  // Makes its window the current one, the viewport its buffer.
  bool makeCurrent();
  void swap() { window_->swap(); }

 private:
  static const wl_output_listener outputListener;
  static const zwlr_layer_surface_v1_listener layerListener;
  static const xdg_surface_listener xdgSurfaceListener;
  static const xdg_toplevel_listener toplevelListener;

  // Applies the last configure's size (logical pixels) and the output's scale.
  void configure(int width, int height);

  Owned<wl_output> output_;
  std::uint32_t name_;
  bool* changed_;
  int scale_ = 1, pendingScale_ = 1;
  int modeWidth_ = 0, modeHeight_ = 0;  // the output's current mode, in real pixels
  int width_ = 0, height_ = 0;          // the surface, in logical pixels
  int toplevelWidth_ = 0, toplevelHeight_ = 0;
  bool closed_ = false;
  const EglContext* egl_ = nullptr;
  // Destroyed in the reverse order: the EGL window before the role, the role before the surface.
  Owned<wl_surface> surface_;
  Owned<zwlr_layer_surface_v1> layer_;
  Owned<xdg_surface> xdgSurface_;
  Owned<xdg_toplevel> toplevel_;
  std::unique_ptr<EglWindow> window_;
};

}  // namespace orvane::renderer
