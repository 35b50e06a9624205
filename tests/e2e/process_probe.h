#pragma once
#include <windows.h>

// Some facts about a process can only be read from inside it: a window's font,
// and (under Wine) its GDI objects. probe_hook.dll is loaded into the player
// by a window hook and answers a registered message there, writing into a
// shared section that the test reads.

inline constexpr wchar_t kProbeMessage[] = L"LirotuneProcessProbe";
inline constexpr wchar_t kProbeSection[] = L"LirotuneProcessProbeAnswer";

struct ProbeAnswer {
    BOOL answered;    // FALSE when the probe could not run in the process
    BOOL hasFont;
    LOGFONTW font;    // of the control asked about
    // Asked with no control:
    DWORD gdiObjects;
    DWORD userObjects;          // the process's windows
    ULONGLONG privateBytes;     // memory the process alone uses
    wchar_t currentDirectory[MAX_PATH];
};

// Asks the process that owns `mainWindow` (thread `threadId`) for the font of
// its control `controlId`, or with 0 for its object counts, memory and
// current directory.
ProbeAnswer ProbeProcess(HWND mainWindow, DWORD threadId, int controlId);
