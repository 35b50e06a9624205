#pragma once
#include <windows.h>

#include <string>

// The system's own words for an error code ("Access is denied."), or the
// code itself when the system has none.
std::wstring SystemErrorText(DWORD error);
