// The pace a GLUT program reaches when it re-arms a 20 ms timer on each expiry and draws
// nothing but a buffer swap: the ceiling for the renderer's frame rate. Escape ends it.

#include <GL/glut.h>

#include <cstdlib>

namespace {

void display() {
  glutSwapBuffers();
}

void keyboard(unsigned char key, int, int) {
  if (key == 27) std::exit(0);
}

void tick(int) {
  glutPostRedisplay();
  glutTimerFunc(20, tick, 0);
}

}  // namespace

int main(int argc, char** argv) {
  glutInit(&argc, argv);
  glutInitWindowSize(1024, 768);
  glutInitWindowPosition(0, 0);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutCreateWindow("timer ceiling");
  glutDisplayFunc(display);
  glutKeyboardFunc(keyboard);
  glutFullScreen();
  glutTimerFunc(20, tick, 0);
  glutMainLoop();
}
