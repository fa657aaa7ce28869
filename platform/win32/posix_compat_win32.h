#pragma once

// The POSIX names that the picture reader uses for reading files, on the C library of Windows.
// Built into the renderer's core library by the compiler's -include; every program links
// platform/win32/binary_mode_win32.c, so every open is untranslated as on Linux.

#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/types.h>

// Windows has no FIFOs that an open could block on.
#define O_NONBLOCK 0
#define O_CLOEXEC _O_NOINHERIT

// The C library of Windows sees no symbolic links: every path is the file itself.
#define S_ISLNK(mode) 0
#define S_ISSOCK(mode) 0
inline int lstat(const char* path, struct stat* info) {
  return stat(path, info);
}
inline char* realpath(const char* path, char* resolved) {
  return _fullpath(resolved, path, _MAX_PATH);
}
