#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A hidden main window holding the real controls the core works on: the
// playlist list box and the two labels, with their identifiers. Like the
// main window, it hands the player's own messages to the controller.
class TestWindow {
public:
    TestWindow();
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle() const { return window_; }
    HWND list() const;

    std::vector<std::wstring> Rows() const;
    int Selection() const;
    void Select(int row) const;
    std::wstring Text(int id) const;

private:
    HWND window_ = nullptr;
};

// Handles every message already waiting for this thread.
void PumpMessages();
