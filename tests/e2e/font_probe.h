#pragma once
#include <windows.h>

#include <string>

inline constexpr wchar_t kFontProbeMessage[] = L"LirotuneFontProbe";
inline constexpr wchar_t kFontProbeSection[] = L"LirotuneFontProbeAnswer";

struct FontProbeAnswer {
    BOOL answered;
    BOOL hasFont;
    LOGFONTW font;
};

// Asks the player's process for the font of one of its main window's
// controls. `answered` is FALSE when the probe could not run there.
FontProbeAnswer FontOfControl(HWND mainWindow, DWORD threadId, int controlId);
