#include "renderer/glx_frames.h"

#include "renderer/frame_loop.h"
#include "renderer/renderer_gl.h"

namespace orvane::renderer {

namespace {

// The X connection of one GLX window as the frame loop drives it.
class GlxSource final : public FrameSource {
 public:
  GlxSource(Display* display, GLXDrawable surface, void (*handle)(Display*, XEvent&))
      : display_(display), surface_(surface), handle_(handle) {}

  int connection() override { return ConnectionNumber(display_); }
  bool handleEvents() override {
    bool exposed = false;
    // XPending sends what is queued and reads what has arrived.
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      handle_(display_, event);
      if (event.type == Expose) exposed = true;
    }
    return exposed;
  }
  bool prepareWait() override { return XEventsQueued(display_, QueuedAfterFlush) == 0; }
  void finishWait(bool) override {}  // the next XPending reads it
  void drawFrames() override {
    drawFrame();
    glXSwapBuffers(display_, surface_);
  }

 private:
  Display* display_;
  GLXDrawable surface_;
  void (*handle_)(Display*, XEvent&);
};

}  // namespace

void runFrames(Display* display, GLXDrawable surface, void (*handle)(Display*, XEvent&)) {
  GlxSource source(display, surface, handle);
  runFrameLoop(source);
}

}  // namespace orvane::renderer
