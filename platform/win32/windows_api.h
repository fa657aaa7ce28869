#pragma once

// The Windows headers, without the macros that would rename our interfaces' operations
// (FindWindow, CreateDirectory, CopyFile, MessageBox, the profile functions): the Win32 files
// call the A and W functions by their full names.
#include <windows.h>

#undef CopyFile
#undef CreateDirectory
#undef FindWindow
#undef GetPrivateProfileString
#undef MessageBox
#undef WritePrivateProfileString
