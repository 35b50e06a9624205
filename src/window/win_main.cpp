#include <windows.h>

#include "window/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    // The media stack loads some of its DLLs by bare name: none of them may
    // come from the player's own folder, where anything could lie beside a
    // copied or unpacked player. (Wine 10's loader still looks there for the
    // mfplat.dll its media stack loads.)
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    const HWND window = CreateMainWindow(instance);
    if (!window)
        return 0;
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
