#include "e2e/player_driver.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

struct Search {
    DWORD processId;
    const std::wstring* className;
    const std::wstring* title;
    HWND exclude;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam)
{
    auto& search = *reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || window == search.exclude || !IsWindowVisible(window))
        return TRUE;
    if (search.className && ClassOf(window) != *search.className)
        return TRUE;
    if (search.title && WindowText(window) != *search.title)
        return TRUE;
    search.found = window;
    return FALSE;
}

HWND FindProcessWindow(DWORD processId, const std::wstring* className, const std::wstring* title,
                       HWND exclude)
{
    Search search = {processId, className, title, exclude, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::wstring WindowText(HWND window)
{
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring DescribeChildren(HWND parent)
{
    std::wstring out;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        out += ClassOf(child) + L" " + std::to_wstring(GetDlgCtrlID(child)) + L" '" +
               WindowText(child) + L"'\n";
    }
    return out;
}

PlayerProcess::PlayerProcess(const std::wstring& exe, std::chrono::milliseconds timeout)
{
    // Started in the folder above its own, as from a shortcut whose "Start
    // in" names another: nothing the player does may rest on where it starts.
    const std::wstring own = exe.substr(0, exe.find_last_of(L"\\/"));
    const std::wstring folder = own.substr(0, own.find_last_of(L"\\/"));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process_))
        throw std::runtime_error("cannot start the player: error " + std::to_string(GetLastError()));
    const std::wstring className = L"SampleWindowClass";
    WaitUntil([&] {
        window_ = FindProcessWindow(process_.dwProcessId, &className, nullptr, nullptr);
        return window_ != nullptr;
    }, timeout);
    if (!window_)
        throw std::runtime_error("the player's window did not appear");
    // Its start-up (showing and activating the window) is over once it
    // waits for input.
    WaitForInputIdle(process_.hProcess, static_cast<DWORD>(timeout.count()));
}

PlayerProcess::~PlayerProcess()
{
    if (running()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool PlayerProcess::running() const
{
    return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND PlayerProcess::Control(int id) const
{
    return GetDlgItem(window_, id);
}

std::wstring PlayerProcess::Text(int id) const
{
    return WindowText(Control(id));
}

std::vector<std::wstring> PlayerProcess::Rows() const
{
    // A player that crashed in its window procedure lingers with its thread
    // stopped: ask with a timeout, so that a test fails rather than hangs.
    const HWND list = Control(200);
    const auto ask = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        DWORD_PTR answer = 0;
        return SendMessageTimeoutW(list, message, wParam, lParam, SMTO_NORMAL, 5000, &answer)
                   ? static_cast<LRESULT>(answer) : LB_ERR;
    };
    std::vector<std::wstring> rows;
    const auto count = ask(LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::vector<wchar_t> text(static_cast<size_t>(std::max<LRESULT>(ask(LB_GETTEXTLEN, i, 0), 0)) + 1);
        ask(LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        rows.emplace_back(text.data());
    }
    return rows;
}

int PlayerProcess::Selection() const
{
    return static_cast<int>(SendMessageW(Control(200), LB_GETCURSEL, 0, 0));
}

void PlayerProcess::Select(int row) const
{
    SendMessageW(Control(200), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

void PlayerProcess::Click(int id) const
{
    SendMessageW(Control(id), BM_CLICK, 0, 0);
}

void PlayerProcess::ClickLater(int id) const
{
    PostMessageW(Control(id), BM_CLICK, 0, 0);
}

void PlayerProcess::Activate() const
{
    // A window of this test program stands for the other program: the
    // player is active only after it was not.
    static const HWND elsewhere = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"another program",
                                                  WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                                  nullptr, nullptr);
    SetForegroundWindow(elsewhere);
    WaitUntil([&] {  // and the player has let go of its active window
        GUITHREADINFO player = {};
        player.cbSize = sizeof player;
        return GetForegroundWindow() == elsewhere && GetGUIThreadInfo(threadId(), &player) && !player.hwndActive;
    }, std::chrono::seconds(5));
    // The player handles WM_ACTIVATE a moment later (and Wine's desktop then
    // takes the foreground): a test waits for what the activation does.
    SetForegroundWindow(window_);
    WaitUntil([&] { return GetForegroundWindow() != elsewhere; }, std::chrono::seconds(5));
}

HWND PlayerProcess::WaitForDialog(const std::wstring& title, std::chrono::milliseconds timeout) const
{
    HWND dialog = nullptr;
    WaitUntil([&] {
        dialog = FindProcessWindow(process_.dwProcessId, nullptr, &title, window_);
        return dialog != nullptr;
    }, timeout);
    return dialog;
}

DWORD PlayerProcess::Close(std::chrono::milliseconds timeout)
{
    return EndBy(WM_CLOSE, 0, 0, timeout);
}

DWORD PlayerProcess::EndBy(UINT message, WPARAM wParam, LPARAM lParam, std::chrono::milliseconds timeout)
{
    PostMessageW(window_, message, wParam, lParam);
    WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count()));
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}
