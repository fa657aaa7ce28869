#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "renderer/seat_input.h"

namespace orvane::renderer {

namespace {

SeatInput* of(void* data) {
  return static_cast<SeatInput*>(data);
}

}  // namespace

const wl_seat_listener SeatInput::seatListener = {
    .capabilities =
        [](void* data, wl_seat* seat, uint32_t capabilities) {
          SeatInput& self = *of(data);
          const bool keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
          const bool pointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
          if (keyboard && !self.keyboard_) {
            self.keyboard_.reset(wl_seat_get_keyboard(seat));
            wl_keyboard_add_listener(self.keyboard_.get(), &keyboardListener, data);
          } else if (!keyboard) {
            self.keyboard_.reset();
          }
          if (pointer && !self.pointer_) {
            self.pointer_.reset(wl_seat_get_pointer(seat));
            wl_pointer_add_listener(self.pointer_.get(), &pointerListener, data);
          } else if (!pointer) {
            self.pointer_.reset();
          }
        },
    .name = [](void*, wl_seat*, const char*) {},
};

const wl_keyboard_listener SeatInput::keyboardListener = {
    .keymap = [](void* data, wl_keyboard*, uint32_t format, int32_t fd,
                 uint32_t size) { of(data)->takeKeymap(format, fd, size); },
    .enter = [](void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {},
    .leave = [](void*, wl_keyboard*, uint32_t, wl_surface*) {},
    .key = [](void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key,
              uint32_t) { of(data)->takeKey(key); },
    .modifiers =
        [](void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched,
           uint32_t locked, uint32_t group) {
          if (of(data)->state_)
            xkb_state_update_mask(of(data)->state_.get(), depressed, latched, locked, 0, 0, group);
        },
    .repeat_info = [](void*, wl_keyboard*, int32_t, int32_t) {},
};

// No cursor over our surfaces: a null cursor surface hides it.
const wl_pointer_listener SeatInput::pointerListener = {
    .enter = [](void*, wl_pointer* pointer, uint32_t serial, wl_surface*, wl_fixed_t,
                wl_fixed_t) { wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0); },
    .leave = [](void*, wl_pointer*, uint32_t, wl_surface*) {},
    .motion = [](void*, wl_pointer*, uint32_t, wl_fixed_t, wl_fixed_t) {},
    .button = [](void*, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t) {},
    .axis = [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {},
    .frame = [](void*, wl_pointer*) {},
    .axis_source = [](void*, wl_pointer*, uint32_t) {},
    .axis_stop = [](void*, wl_pointer*, uint32_t, uint32_t) {},
    .axis_discrete = [](void*, wl_pointer*, uint32_t, int32_t) {},
    .axis_value120 = [](void*, wl_pointer*, uint32_t, int32_t) {},
};

SeatInput::SeatInput(wl_seat* seat, std::uint32_t name)
    : seat_(seat), name_(name), xkb_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {
  wl_seat_add_listener(seat, &seatListener, this);
}

SeatInput::~SeatInput() = default;

void SeatInput::takeKeymap(std::uint32_t format, int fd, std::uint32_t size) {
  void* text = size > 0 ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : MAP_FAILED;
  close(fd);
  if (text == MAP_FAILED) return;
  keymap_.reset();
  if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && xkb_) {
    // The text ends with a NUL that the size counts.
    keymap_.reset(xkb_keymap_new_from_buffer(
        xkb_.get(), static_cast<const char*>(text), strnlen(static_cast<const char*>(text), size),
        XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
  }
  munmap(text, size);
  state_.reset(keymap_ ? xkb_state_new(keymap_.get()) : nullptr);
}

void SeatInput::takeKey(std::uint32_t key) {
  // Wayland's key codes are the kernel's; xkb's are 8 higher.
  if (state_ && xkb_state_key_get_one_sym(state_.get(), key + 8) == XKB_KEY_Escape) std::exit(0);
}

}  // namespace orvane::renderer
