#include <windows.h>

#include <string>

#include "window/commands.h"

void ShowAbout(HWND window)
{
    const std::wstring text = std::wstring(L"Lirotune ") + L"v1.1" +
                              L"\nBy Brevanic\nSimple Win32 MP3 Player";
    MessageBoxW(window, text.c_str(), L"About this thing", MB_ICONINFORMATION);
}
