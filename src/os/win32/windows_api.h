#pragma once
// The Windows API as every Win32 file of the setup sees it: the lean set, the wide calls named
// with their W. Headers that only one or two files need (common controls, the shell's) stay in
// those files.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
