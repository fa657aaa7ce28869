#include <GL/gl.h>
#include <poll.h>

#include <chrono>

#include "renderer/glx_frames.h"
#include "renderer/renderer_gl.h"
#include "renderer/tunnel_scene.h"

namespace orvane::renderer {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kFramePeriod{20};

}  // namespace

void reshape(int width, int height) {
  glViewport(0, 0, width, height);
  windowWidth = width;
  windowHeight = height;
}

void runFrames(Display* display, GLXDrawable surface, void (*handle)(Display*, XEvent&)) {
  auto nextTick = Clock::now() + kFramePeriod;
  bool redisplay = false;
  const int fd = ConnectionNumber(display);
  while (true) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      handle(display, event);
      if (event.type == Expose) redisplay = true;
    }
    const auto now = Clock::now();
    if (now >= nextTick) {
      nextTick = now + kFramePeriod;
      redisplay = true;
    }
    if (redisplay) {
      redisplay = false;
      drawFrame();
      glXSwapBuffers(display, surface);
      continue;  // events that came meanwhile first
    }
    pollfd wait{fd, POLLIN, 0};
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(nextTick - now).count();
    poll(&wait, 1, static_cast<int>(left));
  }
}

}  // namespace orvane::renderer
