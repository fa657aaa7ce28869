#pragma once

// The POSIX calls of the tests built for Windows that its C library lacks.

#include <direct.h>
#include <stdlib.h>
#include <string.h>

// Replaces the trailing XXXXXX of pattern and creates that folder; the pattern on success.
inline char* mkdtemp(char* pattern) {
  return _mktemp_s(pattern, strlen(pattern) + 1) == 0 && _mkdir(pattern) == 0 ? pattern : nullptr;
}

// Windows has no FIFOs: the cases that need one are left out under Wine.
inline int mkfifo(const char*, int) {
  return -1;
}
