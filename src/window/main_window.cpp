#include "window/main_window.h"

#include "platform/control_ids.h"
#include "playback/controller.h"
#include "playlist/playlist_file.h"

HFONT uiFont = CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI");

namespace {

struct ControlLayout {
    int id;
    const wchar_t* windowClass;
    const wchar_t* text;
    DWORD style;
    int x, y, width, height;
};

constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE;

// The layout is fixed: resizing the window moves nothing. The playlist is
// loaded right after the list box (the fifth control) exists.
constexpr ControlLayout kControlsBeforeLoad[] = {
    {IDC_PLAY, L"BUTTON", L"Play", kButton, 20, 100, 120, 30},
    {IDC_PAUSE, L"BUTTON", L"Pause", kButton, 150, 100, 120, 30},
    {IDC_STOP, L"BUTTON", L"Stop", kButton, 280, 100, 120, 30},
    {IDC_TIME, L"STATIC", L"00:00 / 00:00", kLabel, 20, 50, 200, 25},
    {IDC_PLAYLIST, L"LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY, 20, 165, 350, 390},
};
constexpr ControlLayout kControlsAfterLoad[] = {
    {IDC_ADD_FILE, L"BUTTON", L"Add File", WS_CHILD | WS_VISIBLE, 400, 175, 120, 30},
    {IDC_NOW_PLAYING, L"STATIC", kNothingPlaying, kLabel, 20, 20, 500, 25},
    {IDC_ABOUT, L"Button", L"About", kButton, 665, 0, 120, 30},
    {IDC_NOTE, L"STATIC",
     L"Note: Do not add songs with russian letters. Playlist saving will break.", kLabel,
     20, 140, 500, 25},
};

template <std::size_t N>
void CreateControls(HWND window, HINSTANCE instance, const ControlLayout (&controls)[N])
{
    for (const auto& c : controls)
        CreateWindowExW(0, c.windowClass, c.text, c.style, c.x, c.y, c.width, c.height, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kMainWindowClass;
    RegisterClassW(&windowClass);

    return CreateWindowExW(0, kMainWindowClass, L"Lirotune", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 800, 600, nullptr, nullptr, instance, nullptr);
}

LRESULT OnCreate(HWND window, const CREATESTRUCTW& creation)
{
    CreateControls(window, creation.hInstance, kControlsBeforeLoad);
    LoadPlaylist(window);
    CreateControls(window, creation.hInstance, kControlsAfterLoad);
    EnumChildWindows(window, ApplyFontToChild, 0);
    return 0;
}

BOOL CALLBACK ApplyFontToChild(HWND child, LPARAM)
{
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont), TRUE);
    return TRUE;
}
