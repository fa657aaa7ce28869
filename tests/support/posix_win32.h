#pragma once

// The POSIX calls the test helpers use that the C library of Windows lacks.

#include <direct.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>

// No test program under Wine signals a child: Child is not built there.
inline int kill(pid_t, int) {
  return -1;
}

// Replaces the trailing XXXXXX of pattern and creates that folder; the pattern on success.
inline char* mkdtemp(char* pattern) {
  const size_t length = strlen(pattern);
  if (length < 6 || strcmp(pattern + length - 6, "XXXXXX") != 0) return nullptr;
  for (int attempt = 0; attempt < 100; ++attempt) {
    memcpy(pattern + length - 6, "XXXXXX", 6);
    if (_mktemp_s(pattern, length + 1) != 0) return nullptr;
    if (_mkdir(pattern) == 0) return pattern;
  }
  return nullptr;
}

// Windows has no FIFOs: the cases that need one are left out under Wine.
inline int mkfifo(const char*, int) {
  return -1;
}
