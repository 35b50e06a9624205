#pragma once
#include <windows.h>

// The media service and window timers are reached only through these two
// entry points. The program links the Win32 implementation; the controller's
// tests link a recorder in its place and observe every call.

// Sends one command string to the Media Control Interface. The reply, when a
// buffer is given, is written there; the result code is of no use to callers.
void SendMediaCommand(const wchar_t* command, wchar_t* reply, UINT replyLength,
                      HWND callback);

// Starts (or restarts) a window timer, and stops it.
void StartWindowTimer(HWND window, UINT_PTR id, UINT periodMs);
void StopWindowTimer(HWND window, UINT_PTR id);
