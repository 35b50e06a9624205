// Holds one hidden top-level window for as long as it runs. Wine's desktop
// process quits a moment after the last program with a window ends and is
// restarted by the next one; while this runs, every test program finds it
// already there, and none of Wine's helper processes is started by (and tied
// to the output of) a test.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"LirotuneDesktopKeeper";
    RegisterClassW(&wc);
    CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                    instance, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
