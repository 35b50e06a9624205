#pragma once
#include <windows.h>

// The one font every control uses, made before WinMain runs and kept.
extern HFONT uiFont;

inline constexpr wchar_t kMainWindowClass[] = L"SampleWindowClass";

// Registers the main window's class and creates the window (whose creation
// builds the controls and loads the playlist). NULL when it cannot be made.
HWND CreateMainWindow(HINSTANCE instance);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Builds the child controls and fills the playlist; WM_CREATE's branch.
LRESULT OnCreate(HWND window, const CREATESTRUCTW& creation);

BOOL CALLBACK ApplyFontToChild(HWND child, LPARAM lParam);
