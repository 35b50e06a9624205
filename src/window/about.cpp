#include <windows.h>

#include <string>

#include "window/commands.h"

// The version ("v" and the first two parts of the project version) comes
// from the build, which writes it in one place.
void ShowAbout(HWND window)
{
    const std::wstring text = std::wstring(L"Lirotune ") + LIROTUNE_VERSION_TEXT +
                              L"\nBy Brevanic\nSimple Win32 MP3 Player";
    MessageBoxW(window, text.c_str(), L"About this thing", MB_ICONINFORMATION);
}
