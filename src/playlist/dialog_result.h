#pragma once
#include <windows.h>

// Appends the files named in the result buffer of a successful multi-select
// open dialog: either one full path, or a folder followed by bare file names,
// each NUL-terminated, the list ended by an empty string.
void AddFromDialogResult(HWND window, const wchar_t* buffer);
