#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// Drives a real lirotune.exe from outside, the way a user would, through
// window messages.
class PlayerProcess {
public:
    // Starts the player, in the folder above its own, and waits until its
    // main window is visible.
    explicit PlayerProcess(const std::wstring& playerExe,
                           std::chrono::milliseconds timeout = std::chrono::seconds(20));
    ~PlayerProcess();
    PlayerProcess(const PlayerProcess&) = delete;
    PlayerProcess& operator=(const PlayerProcess&) = delete;

    HWND window() const { return window_; }
    DWORD processId() const { return process_.dwProcessId; }
    DWORD threadId() const { return process_.dwThreadId; }
    bool running() const;

    HWND Control(int id) const;
    std::wstring Text(int id) const;
    std::vector<std::wstring> Rows() const;
    int Selection() const;
    void Select(int row) const;
    // Clicks a button and returns once the click has been handled.
    void Click(int id) const;
    // Clicks a button whose command opens a modal window, without waiting.
    void ClickLater(int id) const;
    // Makes the main window the active one, as switching back to it from
    // another program does. The player handles that a moment later: wait
    // for what it does.
    void Activate() const;

    // A visible top-level window of the player with this title, other than
    // the main window (a dialog); NULL if none appears in time.
    HWND WaitForDialog(const std::wstring& title, std::chrono::milliseconds timeout) const;

    // Closes the main window and returns the exit code (or STILL_ACTIVE when
    // the process does not end in time).
    DWORD Close(std::chrono::milliseconds timeout = std::chrono::seconds(15));
    // The same, by posting another message that should end the player.
    DWORD EndBy(UINT message, WPARAM wParam, LPARAM lParam,
                std::chrono::milliseconds timeout = std::chrono::seconds(15));

private:
    PROCESS_INFORMATION process_ = {};
    HWND window_ = nullptr;
};

// Waits until `condition` holds, pumping this thread's messages; false when
// the timeout passes first.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);
// Child windows of `parent` in Z order, as "class id 'text'" lines.
std::wstring DescribeChildren(HWND parent);
