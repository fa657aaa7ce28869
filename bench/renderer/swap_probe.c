/* Preloaded into a GLUT, GLX or EGL program by the frame pacing benchmark: notes the wall-clock
 * and process CPU time of every buffer swap (through EGL, of the first surface swapped only:
 * one a frame however many outputs it draws) and writes them to $ORVANE_SWAP_LOG at exit. */
#define _GNU_SOURCE
#include <EGL/egl.h>
#include <GL/glx.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

enum { kMaxSwaps = 1 << 16 };

static double wallTimes[kMaxSwaps];
static double cpuTimes[kMaxSwaps];
static int swaps;

static double seconds(clockid_t clock) {
  struct timespec t;
  clock_gettime(clock, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

static void note(void) {
  if (swaps < kMaxSwaps) {
    wallTimes[swaps] = seconds(CLOCK_MONOTONIC);
    cpuTimes[swaps] = seconds(CLOCK_PROCESS_CPUTIME_ID);
    ++swaps;
  }
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  static void (*real)(Display*, GLXDrawable);
  if (real == NULL) real = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
  real(display, drawable);
  note();
}

EGLBoolean eglSwapBuffers(EGLDisplay display, EGLSurface surface) {
  static EGLBoolean (*real)(EGLDisplay, EGLSurface);
  static EGLSurface first;
  if (real == NULL)
    real = (EGLBoolean(*)(EGLDisplay, EGLSurface))dlsym(RTLD_NEXT, "eglSwapBuffers");
  const EGLBoolean swapped = real(display, surface);
  if (first == NULL) first = surface;
  if (surface == first) note();
  return swapped;
}

__attribute__((destructor)) static void writeLog(void) {
  const char* path = getenv("ORVANE_SWAP_LOG");
  if (path == NULL) return;
  FILE* out = fopen(path, "w");
  if (out == NULL) return;
  for (int i = 0; i < swaps; ++i) fprintf(out, "%.6f %.6f\n", wallTimes[i], cpuTimes[i]);
  fclose(out);
}
