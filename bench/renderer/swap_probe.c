/* Preloaded into a GLUT program by the frame pacing benchmark: notes the wall-clock and
 * process CPU time of every buffer swap and writes them to $ORVANE_SWAP_LOG at exit. */
#define _GNU_SOURCE
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

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  static void (*real)(Display*, GLXDrawable);
  if (real == NULL) real = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
  real(display, drawable);
  if (swaps < kMaxSwaps) {
    wallTimes[swaps] = seconds(CLOCK_MONOTONIC);
    cpuTimes[swaps] = seconds(CLOCK_PROCESS_CPUTIME_ID);
    ++swaps;
  }
}

__attribute__((destructor)) static void writeLog(void) {
  const char* path = getenv("ORVANE_SWAP_LOG");
  if (path == NULL) return;
  FILE* out = fopen(path, "w");
  if (out == NULL) return;
  for (int i = 0; i < swaps; ++i) fprintf(out, "%.6f %.6f\n", wallTimes[i], cpuTimes[i]);
  fclose(out);
}
