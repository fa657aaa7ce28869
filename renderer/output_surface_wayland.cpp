#include <cstdlib>

#include "renderer/output_surface.h"
#include "renderer/renderer_gl.h"

namespace orvane::renderer {

namespace {

constexpr char kTitle[] = "Orvane_VC";

OutputSurface* of(void* data) {
  return static_cast<OutputSurface*>(data);
}

}  // namespace

const wl_output_listener OutputSurface::outputListener = {
    .geometry = [](void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                   const char*, int32_t) {},
    .mode =
        [](void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
          if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
          of(data)->modeWidth_ = width, of(data)->modeHeight_ = height;
        },
    // The output's description is complete: a new scale applies from here.
    .done =
        [](void* data, wl_output*) {
          OutputSurface& self = *of(data);
          if (self.pendingScale_ == self.scale_) return;
          self.scale_ = self.pendingScale_;
          if (self.width_ > 0) self.configure(self.width_, self.height_);
        },
    .scale = [](void* data, wl_output*, int32_t factor) { of(data)->pendingScale_ = factor; },
    .name = [](void*, wl_output*, const char*) {},
    .description = [](void*, wl_output*, const char*) {},
};

const zwlr_layer_surface_v1_listener OutputSurface::layerListener = {
    .configure =
        [](void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width,
           uint32_t height) {
          zwlr_layer_surface_v1_ack_configure(layer, serial);
          of(data)->configure(static_cast<int>(width), static_cast<int>(height));
        },
    .closed = [](void* data, zwlr_layer_surface_v1*) { of(data)->closed_ = true; },
};

const xdg_surface_listener OutputSurface::xdgSurfaceListener = {
    .configure =
        [](void* data, xdg_surface* surface, uint32_t serial) {
          xdg_surface_ack_configure(surface, serial);
          OutputSurface& self = *of(data);
          self.configure(self.toplevelWidth_, self.toplevelHeight_);
        },
};

const xdg_toplevel_listener OutputSurface::toplevelListener = {
    .configure =
        [](void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
          of(data)->toplevelWidth_ = width, of(data)->toplevelHeight_ = height;
        },
    // Closing the window ends the program, as GLUT's and the GLX windows' do.
    .close = [](void*, xdg_toplevel*) { std::exit(0); },
    .configure_bounds = [](void*, xdg_toplevel*, int32_t, int32_t) {},
    .wm_capabilities = [](void*, xdg_toplevel*, wl_array*) {},
};

OutputSurface::OutputSurface(wl_output* output, std::uint32_t name, bool* changed)
    : output_(output), name_(name), changed_(changed) {
  wl_output_add_listener(output, &outputListener, this);
}

OutputSurface::~OutputSurface() = default;

void OutputSurface::show(const SurfaceMakers& makers, const EglContext& egl) {
  egl_ = &egl;
  surface_.reset(wl_compositor_create_surface(makers.compositor));
  if (makers.layerShell != nullptr) {
    layer_.reset(zwlr_layer_shell_v1_get_layer_surface(makers.layerShell, surface_.get(),
                                                       output_.get(),
                                                       ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, kTitle));
    zwlr_layer_surface_v1_add_listener(layer_.get(), &layerListener, this);
    zwlr_layer_surface_v1_set_anchor(
        layer_.get(), ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                          ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    // Over panels and bars too, which keep no room from it.
    zwlr_layer_surface_v1_set_exclusive_zone(layer_.get(), -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        layer_.get(), ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
  } else {
    xdgSurface_.reset(xdg_wm_base_get_xdg_surface(makers.windowManager, surface_.get()));
    xdg_surface_add_listener(xdgSurface_.get(), &xdgSurfaceListener, this);
    toplevel_.reset(xdg_surface_get_toplevel(xdgSurface_.get()));
    xdg_toplevel_add_listener(toplevel_.get(), &toplevelListener, this);
    xdg_toplevel_set_title(toplevel_.get(), kTitle);
    xdg_toplevel_set_fullscreen(toplevel_.get(), output_.get());
  }
  // The first commit, without a buffer, asks for the first configure.
  wl_surface_commit(surface_.get());
}

void OutputSurface::configure(int width, int height) {
  // A size left to the client: the output's own.
  if (width <= 0 || height <= 0) {
    width = modeWidth_ > 0 ? modeWidth_ / scale_ : 640;
    height = modeHeight_ > 0 ? modeHeight_ / scale_ : 480;
  }
  width_ = width, height_ = height;
  wl_surface_set_buffer_scale(surface_.get(), scale_);
  if (window_)
    window_->resize(width * scale_, height * scale_);
  else
    window_ = std::make_unique<EglWindow>(*egl_, surface_.get(), width * scale_, height * scale_);
  *changed_ = true;
}

bool OutputSurface::makeCurrent() {
  if (!window_->makeCurrent()) return false;
  reshape(window_->width(), window_->height());
  return true;
}

}  // namespace orvane::renderer
