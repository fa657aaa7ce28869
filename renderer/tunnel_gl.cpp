#include <GL/gl.h>
#include <GL/glu.h>

#include "renderer/monitor_layout.h"
#include "renderer/renderer_gl.h"
#include "renderer/tunnel_scene.h"

namespace orvane::renderer {

void initScene() {
  initRings();
  glEnable(GL_FOG);
  glFogi(GL_FOG_MODE, GL_EXP);
  const GLfloat fogColour[4] = {0.6f, 0.6f, 0.0f, 1.0f};
  glFogfv(GL_FOG_COLOR, fogColour);
  glFogf(GL_FOG_DENSITY, 0.08f);
  // Back faces are culled; counter-clockwise is front. Depth testing stays off: what is
  // drawn later covers what was drawn earlier.
  glEnable(GL_CULL_FACE);
}

void reshape(int width, int height) {
  glViewport(0, 0, width, height);
  windowWidth = width;
  windowHeight = height;
}

void drawFrame() {
  const float roll = beginFrame();
  drawMoment(roll);
  endFrame();
}

float beginFrame() {
  rampSpeed();
  return takeRoll();
}

void drawMoment(float roll) {
  glDrawBuffer(GL_BACK_LEFT);
  // Clears the whole window: what no monitor shows stays black.
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  // Every monitor shows the same moment of the tunnel, framed by its own aspect ratio.
  for (const Viewport& viewport : frameViewports()) {
    // Rebuilt every frame from the size the last reshape left.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, viewportAspect(viewport), 0.5, 100.0);
    glViewport(viewport.x, viewport.y, viewport.width, viewport.height);

    glMatrixMode(GL_MODELVIEW);
    glDrawBuffer(GL_BACK_LEFT);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, -2.0, 0.0, 0.0, -3.0, 0.0, 1.0, 0.0);

    drawTunnel(roll);
  }
  glFlush();
}

void endFrame() {
  advanceRings();
}

void drawTunnel(float roll) {
  glPushMatrix();
  glRotatef(roll, 0.0f, 0.0f, 1.0f);

  for (int i = 0; i < kSegmentCount; ++i) {
    const Ring& nearRing = rings[i];
    const Ring& farRing = rings[i + 1];
    glBegin(GL_QUADS);
    for (int k = 0; k < kFacesPerSegment; ++k) {
      const Corner nearK = ringCorner(nearRing, k);
      const Corner nearNext = ringCorner(nearRing, k + 1);
      const Corner farNext = ringCorner(farRing, k + 1);
      const Corner farK = ringCorner(farRing, k);
      // s runs along the tunnel, t around it: every face shows the whole picture.
      glTexCoord2f(1.0f, 0.0f);
      glVertex3f(nearK.x, nearK.y, nearRing.z);
      glTexCoord2f(1.0f, 1.0f);
      glVertex3f(nearNext.x, nearNext.y, nearRing.z);
      glTexCoord2f(0.0f, 1.0f);
      glVertex3f(farNext.x, farNext.y, farRing.z);
      glTexCoord2f(0.0f, 0.0f);
      glVertex3f(farK.x, farK.y, farRing.z);
    }
    glEnd();
  }

  // The far end's cap keeps the last texture coordinate, (0, 0), and covers whatever lies
  // behind it on the screen, since depth testing is off.
  glBegin(GL_QUADS);
  glVertex3f(-1.0f, -1.0f, kCapZ);
  glVertex3f(1.0f, -1.0f, kCapZ);
  glVertex3f(1.0f, 1.0f, kCapZ);
  glVertex3f(-1.0f, 1.0f, kCapZ);
  glEnd();
  glPopMatrix();
}

}  // namespace orvane::renderer
