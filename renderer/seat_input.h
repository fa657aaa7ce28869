#pragma once

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdint>

#include "renderer/wayland_owned.h"

namespace orvane::renderer {

// One seat's keyboard and pointer over the renderer's surfaces: Escape ends the program with
// exit code 0, pressed or released (a key already down when the keyboard enters sends only
// its release), and no other key or button does anything; the pointer shows no cursor. The
// seat may gain or lose either device at any time.
class SeatInput {
 public:
  SeatInput(wl_seat* seat, std::uint32_t name);
  ~SeatInput();
  SeatInput(const SeatInput&) = delete;
  SeatInput& operator=(const SeatInput&) = delete;

  std::uint32_t name() const { return name_; }

 private:
  static const wl_seat_listener seatListener;
  static const wl_keyboard_listener keyboardListener;
  static const wl_pointer_listener pointerListener;

  void takeKeymap(std::uint32_t format, int fd, std::uint32_t size);
  void takeKey(std::uint32_t key);

  // Destroyed in the reverse order: the devices before their seat, the state before its keymap.
  Owned<wl_seat> seat_;
  std::uint32_t name_;
  Owned<wl_keyboard> keyboard_;
  Owned<wl_pointer> pointer_;
  Owned<xkb_context> xkb_;
  Owned<xkb_keymap> keymap_;
  Owned<xkb_state> state_;
};

}  // namespace orvane::renderer
