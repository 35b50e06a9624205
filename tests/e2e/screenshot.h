#pragma once
#include <windows.h>

#include <string>

// Saves what the screen shows of a window as a PNG file.
bool SaveWindowPng(HWND window, const std::wstring& path);
