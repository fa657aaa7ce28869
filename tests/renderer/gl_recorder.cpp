#include "tests/renderer/gl_recorder.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <initializer_list>
#include <utility>

namespace orvane::testing {

GlLog& RecordedGl() {
  static GlLog log;
  return log;
}

namespace {

#define NAMED(value) \
  { value, #value }
constexpr std::pair<GLenum, const char*> kNames[] = {
    NAMED(GL_QUADS),
    NAMED(GL_FOG),
    NAMED(GL_FOG_MODE),
    NAMED(GL_FOG_COLOR),
    NAMED(GL_FOG_DENSITY),
    NAMED(GL_EXP),
    NAMED(GL_CULL_FACE),
    NAMED(GL_BACK_LEFT),
    NAMED(GL_PROJECTION),
    NAMED(GL_MODELVIEW),
    {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, "GL_COLOR_BUFFER_BIT|GL_DEPTH_BUFFER_BIT"}};
#undef NAMED

std::string Name(GLenum value) {
  for (const auto& [known, name] : kNames)
    if (value == known) return name;
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

// Numbers as %g writes them: 60, 1.33333, -2, 0.08.
std::string Numbers(std::initializer_list<double> values) {
  std::string text;
  for (const double value : values) {
    char number[32];
    std::snprintf(number, sizeof number, "%g", value);
    text += (text.empty() ? "" : ", ") + std::string(number);
  }
  return text;
}

void Call(const std::string& text) {
  RecordedGl().calls.push_back(text);
}

}  // namespace
}  // namespace orvane::testing

using orvane::testing::Call;
using orvane::testing::Name;
using orvane::testing::Numbers;
using orvane::testing::RecordedGl;

extern "C" {

void glEnable(GLenum cap) {
  Call("glEnable(" + Name(cap) + ")");
}
void glFogi(GLenum name, GLint value) {
  Call("glFogi(" + Name(name) + ", " + Name(static_cast<GLenum>(value)) + ")");
}
void glFogf(GLenum name, GLfloat value) {
  Call("glFogf(" + Name(name) + ", " + Numbers({value}) + ")");
}
void glFogfv(GLenum name, const GLfloat* v) {
  Call("glFogfv(" + Name(name) + ", " + Numbers({v[0], v[1], v[2], v[3]}) + ")");
}
void glDrawBuffer(GLenum buffer) {
  Call("glDrawBuffer(" + Name(buffer) + ")");
}
void glClear(GLbitfield mask) {
  Call("glClear(" + Name(mask) + ")");
}
void glMatrixMode(GLenum mode) {
  Call("glMatrixMode(" + Name(mode) + ")");
}
void glLoadIdentity() {
  Call("glLoadIdentity()");
}
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  Call("glViewport(" + Numbers({double(x), double(y), double(width), double(height)}) + ")");
}
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  Call("gluPerspective(" + Numbers({fovy, aspect, zNear, zFar}) + ")");
}
void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
               GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
  Call("gluLookAt(" + Numbers({eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ}) + ")");
}
void glPushMatrix() {
  Call("glPushMatrix()");
}
void glPopMatrix() {
  Call("glPopMatrix()");
}
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  Call("glRotatef(" + Numbers({angle, x, y, z}) + ")");
}
void glFlush() {
  Call("glFlush()");
}
void glBegin(GLenum mode) {
  Call("glBegin(" + Name(mode) + ")");
  RecordedGl().batches.push_back({mode, {}});
  RecordedGl().insideBatch = true;
}
void glEnd() {
  Call("glEnd()");
  RecordedGl().insideBatch = false;
}
void glTexCoord2f(GLfloat s, GLfloat t) {
  RecordedGl().s = s, RecordedGl().t = t;
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  auto& log = RecordedGl();
  // A vertex outside glBegin/glEnd lands in a batch of mode 0 for the test to see.
  if (!log.insideBatch) log.batches.push_back({0, {}}), log.insideBatch = true;
  log.batches.back().vertices.push_back({log.s, log.t, x, y, z});
}

}  // extern "C"
