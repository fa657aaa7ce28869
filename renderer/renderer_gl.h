#pragma once

// The GL side of the renderer: the thin layer that draws from the scene state and uploads
// the picture. Each needs the window's GL context to be current.

namespace orvane::renderer {

// Fog, face culling and the ring table.
void initScene();
// Reads the picture from the data directory and makes it the current 2-D texture; ends the
// process when there is none.
void initTexture();
// One complete frame into the back buffer: the speed ramp, the roll, the tunnel drawn into each
// of the frame's viewports (one per monitor) and the advance. Every window shell calls it once
// per frame and then swaps the buffers itself.
void drawFrame();
// drawFrame in three parts, for a shell that shows one moment on several surfaces: the speed
// ramp and the roll to draw with; the tunnel at that roll into the current surface's
// viewports; the advance.
float beginFrame();
void drawMoment(float roll);
void endFrame();
// Window size changes reach the scene here: the viewport and the size every later frame uses.
void reshape(int width, int height);
// Draws the tunnel at its current place, rolled by roll degrees, into the current viewport.
void drawTunnel(float roll);

}  // namespace orvane::renderer
