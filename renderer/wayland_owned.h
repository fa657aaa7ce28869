#pragma once

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <memory>

#include "renderer/layer_shell_protocol.h"

namespace orvane::renderer {

// How each Wayland and xkbcommon object the renderer keeps is given back.
struct Destroyer {
  void operator()(wl_display* p) const { wl_display_disconnect(p); }
  void operator()(wl_registry* p) const { wl_registry_destroy(p); }
  void operator()(wl_compositor* p) const { wl_compositor_destroy(p); }
  void operator()(wl_output* p) const { wl_output_destroy(p); }
  void operator()(wl_surface* p) const { wl_surface_destroy(p); }
  void operator()(wl_seat* p) const { wl_seat_destroy(p); }
  void operator()(wl_keyboard* p) const { wl_keyboard_destroy(p); }
  void operator()(wl_pointer* p) const { wl_pointer_destroy(p); }
  void operator()(zwlr_layer_shell_v1* p) const { zwlr_layer_shell_v1_destroy(p); }
  void operator()(zwlr_layer_surface_v1* p) const { zwlr_layer_surface_v1_destroy(p); }
  void operator()(xdg_wm_base* p) const { xdg_wm_base_destroy(p); }
  void operator()(xdg_surface* p) const { xdg_surface_destroy(p); }
  void operator()(xdg_toplevel* p) const { xdg_toplevel_destroy(p); }
  void operator()(xkb_context* p) const { xkb_context_unref(p); }
  void operator()(xkb_keymap* p) const { xkb_keymap_unref(p); }
  void operator()(xkb_state* p) const { xkb_state_unref(p); }
};

// The one owner of such an object.
template <typename T>
using Owned = std::unique_ptr<T, Destroyer>;

}  // namespace orvane::renderer
