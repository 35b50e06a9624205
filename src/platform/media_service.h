#pragma once
#include <windows.h>

// The media service, window timers and the player's messages to itself are
// reached only through these entry points. The program links the Win32
// implementation; the controller's tests link a recorder in its place and
// observe every call.

// Sends one command string to the Media Control Interface. The reply, when a
// buffer is given, is written there. Returns 0, or the media service's error
// code: a command that failed never reports back to `callback`.
DWORD SendMediaCommand(const wchar_t* command, wchar_t* reply, UINT replyLength,
                       HWND callback);

// Starts (or restarts) a window timer, and stops it.
void StartWindowTimer(HWND window, UINT_PTR id, UINT periodMs);
void StopWindowTimer(HWND window, UINT_PTR id);

// Posts `message` (wParam and lParam 0) to the window: whether it was posted.
bool PostToWindow(HWND window, UINT message);
