#pragma once
#include <windows.h>

// A function of a Windows system DLL, loaded the first time it is asked for
// rather than when the program starts: the media service and the common
// dialogs pull in a large part of the system, and most runs of the player
// need neither before its window is up. Only the system folder is searched.
// NULL when the DLL or the function cannot be had.
FARPROC SystemFunction(const wchar_t* library, const char* function);
