/* Preloaded into Orvane.dll by the picture load benchmark: notes when the picture's upload
 * starts and ends and when the first frame is swapped, writes the times to $ORVANE_LOAD_LOG
 * and ends the program there, since the benchmark wants nothing after the first frame. */
#define _GNU_SOURCE
#include <GL/gl.h>
#include <GL/glx.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static double uploadStart, uploadEnd;

static double now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const void* pixels) {
  static void (*real)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*);
  if (real == NULL)
    real = (void (*)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum,
                     const void*))dlsym(RTLD_NEXT, "glTexImage2D");
  /* Size questions (the proxy target) are part of the load, not of the upload. */
  const int upload = target == GL_TEXTURE_2D;
  if (upload) uploadStart = now();
  real(target, level, internalFormat, width, height, border, format, type, pixels);
  if (upload) uploadEnd = now();
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  static void (*real)(Display*, GLXDrawable);
  if (real == NULL) real = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
  real(display, drawable);
  const double swapped = now();
  const char* path = getenv("ORVANE_LOAD_LOG");
  FILE* out = path != NULL ? fopen(path, "w") : NULL;
  if (out != NULL) {
    fprintf(out, "%.6f %.6f %.6f\n", uploadStart, uploadEnd, swapped);
    fclose(out);
  }
  _exit(0);
}
