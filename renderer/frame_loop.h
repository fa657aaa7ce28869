#pragma once

namespace orvane::renderer {

// A display connection as the frame loop drives it: the GLX shells' X connection, the Wayland
// shell's compositor connection.
class FrameSource {
 public:
  virtual ~FrameSource() = default;
  // The connection's file descriptor, which the loop waits on between frames.
  virtual int connection() = 0;
  // Handles every event already read; true when one asks for a frame at once (an expose, a
  // surface shown for the first time).
  virtual bool handleEvents() = 0;
  // Sends what is queued before the wait; false when events arrived meanwhile, which are
  // handled first.
  virtual bool prepareWait() = 0;
  // After the wait: reads what the connection brought (readable), or gives up the read.
  virtual void finishWait(bool readable) = 0;
  // One frame of the tunnel on every surface, one step of the scene.
  virtual void drawFrames() = 0;
};

// The one frame loop of the GLX and Wayland shells: a frame at every tick of the 20 ms
// FrameClock and whenever handleEvents asks, the connection waited on until the next deadline
// to the nanosecond. Never returns: the process ends from a handler or from outside.
[[noreturn]] void runFrameLoop(FrameSource& source);

}  // namespace orvane::renderer
