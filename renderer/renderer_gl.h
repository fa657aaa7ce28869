#pragma once

// The GL side of the renderer: the thin layer that draws from the scene state and uploads
// the picture. Each needs the window's GL context to be current.

namespace orvane::renderer {

// Fog, face culling and the ring table.
void initScene();
// Reads the picture from the data directory and makes it the current 2-D texture; ends the
// process when there is none.
void initTexture();
// The GLUT display callback: one complete frame, then the buffer swap.
void display();
// One complete frame into the back buffer, without the swap: the frame step that the GLUT
// window and the window of a screen-saver daemon share.
void drawFrame();
// Draws the tunnel for the current state, then moves it on by one frame.
void drawTunnel();

}  // namespace orvane::renderer
