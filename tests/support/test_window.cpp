#include "support/test_window.h"

#include <mmsystem.h>

#include "platform/control_ids.h"
#include "platform/controls.h"
#include "playback/controller.h"

namespace {

const wchar_t kClassName[] = L"LirotuneTestWindow";

// Hands the player's own messages to the controller, as the main window does.
LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TRY_NEXT_TRACK)
        OnTryNextTrack(window);
    if (message == MM_MCINOTIFY)
        OnTrackNotify(window, wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterOnce()
{
    static const bool registered = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = TestWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClassName;
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
}

void AddChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id)
{
    CreateWindowExW(0, cls, text, WS_CHILD | style, 0, 0, 200, 100, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                    GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TestWindow::TestWindow()
{
    RegisterOnce();
    window_ = CreateWindowExW(0, kClassName, L"test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    AddChild(window_, L"STATIC", L"00:00 / 00:00", 0, IDC_TIME);
    AddChild(window_, L"LISTBOX", nullptr, WS_BORDER | LBS_NOTIFY, IDC_PLAYLIST);
    AddChild(window_, L"STATIC", L"Nothing playing", 0, IDC_NOW_PLAYING);
}

TestWindow::~TestWindow()
{
    DestroyWindow(window_);
    PumpMessages();
}

HWND TestWindow::list() const
{
    return GetDlgItem(window_, IDC_PLAYLIST);
}

std::vector<std::wstring> TestWindow::Rows() const
{
    std::vector<std::wstring> rows;
    const auto count = SendMessageW(list(), LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(list(), LB_GETTEXTLEN, i, 0)), L'\0');
        std::vector<wchar_t> buffer(text.size() + 1);
        SendMessageW(list(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
        rows.emplace_back(buffer.data(), text.size());
    }
    return rows;
}

int TestWindow::Selection() const
{
    return SelectedRow(list());
}

void TestWindow::Select(int row) const
{
    SelectRow(list(), row);
}

std::wstring TestWindow::Text(int id) const
{
    wchar_t text[512] = {};
    GetWindowTextW(GetDlgItem(window_, id), text, 512);
    return text;
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
