#pragma once
#include <windows.h>

// Lets the user pick files with the standard open dialog, appends them to the
// playlist and saves it. A cancelled dialog changes nothing.
void AddFileCommand(HWND window);

void ShowAbout(HWND window);
