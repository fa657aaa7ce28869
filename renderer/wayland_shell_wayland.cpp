// The renderer's Wayland shell: an overlay layer surface on every output where the compositor
// offers the layer shell (sway and the other wlroots desktops, KDE Plasma), else a full-screen
// xdg_toplevel on every output (GNOME, weston).
#include <GL/gl.h>
#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "renderer/egl_context.h"
#include "renderer/frame_loop.h"
#include "renderer/output_surface.h"
#include "renderer/renderer_gl.h"
#include "renderer/seat_input.h"
#include "renderer/wayland_owned.h"
#include "renderer/wayland_shell.h"

namespace orvane::renderer {
namespace {

int fail(const char* what) {
  std::fprintf(stderr, "Orvane.dll: %s\n", what);
  return 1;
}

// A compositor that goes away ends the saver, as a lost X connection does; a protocol error
// is ours and says so.
[[noreturn]] void connectionLost(wl_display* display) {
  if (wl_display_get_error(display) == EPROTO) {
    fail("the Wayland compositor refused a request of ours");
    _exit(1);
  }
  _exit(0);
}

class WaylandShell final : public FrameSource {
 public:
  explicit WaylandShell(wl_display* display) : display_(display) {
    registry_.reset(wl_display_get_registry(display));
    wl_registry_add_listener(registry_.get(), &registryListener, this);
  }

  // The globals and the outputs' descriptions: two round trips.
  bool meetCompositor() {
    return wl_display_roundtrip(display_) >= 0 && wl_display_roundtrip(display_) >= 0;
  }
  const SurfaceMakers& makers() const { return makers_; }

  void showOutputs(const EglContext& egl) {
    egl_ = &egl;
    for (auto& output : outputs_) output->show(makers_, egl);
  }

  int connection() override { return wl_display_get_fd(display_); }

  bool handleEvents() override {
    if (wl_display_dispatch_pending(display_) < 0) connectionLost(display_);
    // Outputs unplugged, or whose surface the compositor took away.
    std::erase_if(outputs_, [&](const auto& output) {
      return output->closed() ||
             std::find(removed_.begin(), removed_.end(), output->name()) != removed_.end();
    });
    std::erase_if(seats_, [&](const auto& seat) {
      return std::find(removed_.begin(), removed_.end(), seat->name()) != removed_.end();
    });
    removed_.clear();
    return std::exchange(changed_, false);
  }

  bool prepareWait() override {
    if (wl_display_prepare_read(display_) != 0) return false;
    if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
      wl_display_cancel_read(display_);
      connectionLost(display_);
    }
    return true;
  }

  void finishWait(bool readable) override {
    if (!readable) {
      wl_display_cancel_read(display_);
    } else if (wl_display_read_events(display_) < 0) {
      connectionLost(display_);
    }
  }

  // One moment of the tunnel on every output that can show it, then one step.
  void drawFrames() override {
    std::vector<OutputSurface*> shown;
    for (auto& output : outputs_)
      if (output->drawable()) shown.push_back(output.get());
    if (shown.empty()) return;
    // The scene and the picture are set up in the one context once it has a surface.
    if (!sceneReady_) {
      if (!shown.front()->makeCurrent()) return;
      initScene();
      initTexture();
      glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
      sceneReady_ = true;
    }
    const float roll = beginFrame();
    for (OutputSurface* output : shown) {
      if (!output->makeCurrent()) continue;
      drawMoment(roll);
      output->swap();
    }
    endFrame();
  }

 private:
  static const wl_registry_listener registryListener;

  void bind(uint32_t name, const char* interface, uint32_t version) {
    const auto is = [&](const wl_interface& wanted) {
      return std::strcmp(interface, wanted.name) == 0;
    };
    const auto take = [&](const wl_interface& wanted, uint32_t highest) {
      return wl_registry_bind(registry_.get(), name, &wanted, std::min(version, highest));
    };
    if (is(wl_compositor_interface)) {
      // Version 3 brought the buffer scale.
      makers_.compositor = static_cast<wl_compositor*>(take(wl_compositor_interface, 4));
      compositor_.reset(makers_.compositor);
    } else if (is(zwlr_layer_shell_v1_interface)) {
      makers_.layerShell =
          static_cast<zwlr_layer_shell_v1*>(take(zwlr_layer_shell_v1_interface, 4));
      layerShell_.reset(makers_.layerShell);
    } else if (is(xdg_wm_base_interface)) {
      makers_.windowManager = static_cast<xdg_wm_base*>(take(xdg_wm_base_interface, 1));
      windowManager_.reset(makers_.windowManager);
      xdg_wm_base_add_listener(makers_.windowManager, &pingListener, nullptr);
    } else if (is(wl_output_interface)) {
      // Version 2 brought the scale.
      outputs_.push_back(std::make_unique<OutputSurface>(
          static_cast<wl_output*>(take(wl_output_interface, 2)), name, &changed_));
      if (egl_ != nullptr) outputs_.back()->show(makers_, *egl_);
    } else if (is(wl_seat_interface)) {
      seats_.push_back(
          std::make_unique<SeatInput>(static_cast<wl_seat*>(take(wl_seat_interface, 1)), name));
    }
  }

  static const xdg_wm_base_listener pingListener;

  wl_display* display_;
  // Destroyed in the reverse order: outputs and seats before the globals they were made with.
  Owned<wl_registry> registry_;
  Owned<wl_compositor> compositor_;
  Owned<zwlr_layer_shell_v1> layerShell_;
  Owned<xdg_wm_base> windowManager_;
  SurfaceMakers makers_;
  const EglContext* egl_ = nullptr;
  std::vector<std::unique_ptr<SeatInput>> seats_;
  std::vector<std::unique_ptr<OutputSurface>> outputs_;
  std::vector<uint32_t> removed_;
  bool changed_ = false;
  bool sceneReady_ = false;
};

const wl_registry_listener WaylandShell::registryListener = {
    .global =
        [](void* data, wl_registry*, uint32_t name, const char* interface, uint32_t version) {
          static_cast<WaylandShell*>(data)->bind(name, interface, version);
        },
    .global_remove =
        [](void* data, wl_registry*, uint32_t name) {
          static_cast<WaylandShell*>(data)->removed_.push_back(name);
        },
};

const xdg_wm_base_listener WaylandShell::pingListener = {
    .ping = [](void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); },
};

}  // namespace

int runOnWayland() {
  const Owned<wl_display> display(wl_display_connect(nullptr));
  if (!display) return fail("cannot connect to a Wayland compositor (is WAYLAND_DISPLAY set?)");
  // Made before the shell and gone after it, since the outputs' windows are EGL's. The frame
  // loop never returns: the process ends with all of these in place.
  std::optional<EglContext> egl;
  WaylandShell shell(display.get());
  if (!shell.meetCompositor()) return fail("lost the Wayland compositor while meeting it");
  if (shell.makers().compositor == nullptr ||
      (shell.makers().layerShell == nullptr && shell.makers().windowManager == nullptr))
    return fail("the Wayland compositor offers neither the layer shell nor xdg-shell");
  egl.emplace(display.get());
  if (!egl->ok()) return fail("cannot draw with OpenGL through EGL on the Wayland compositor");
  shell.showOutputs(*egl);
  runFrameLoop(shell);
}

}  // namespace orvane::renderer
