// Files open untranslated by default, as on Linux: no CR/LF conversion and no stop at Ctrl-Z
// (0x1A) in open(), fopen() or the C++ streams. The C runtime's start-up copies this variable
// into the C library's default mode; defining it here keeps the linker from taking the C
// runtime's own, which selects text mode (the toolchain's binmode.o, meant for this, is empty).
#include <fcntl.h>

int _fmode = _O_BINARY;
