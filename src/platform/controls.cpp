#include "platform/controls.h"

HWND ControlOf(HWND window, int id)
{
    return GetDlgItem(window, id);
}

void AddListRow(HWND list, const wchar_t* text)
{
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void SetListRow(HWND list, int row, const wchar_t* text)
{
    const int selected = SelectedRow(list);
    SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(row), 0);
    SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
    if (selected == row)
        SelectRow(list, row);
}

void ClearListRows(HWND list)
{
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
}

void ReserveListRows(HWND list, std::size_t rows)
{
    // About 32 bytes a row: a typical file name.
    SendMessageW(list, LB_INITSTORAGE, rows, static_cast<LPARAM>(rows * 32));
}

int SelectedRow(HWND list)
{
    return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
}

void SelectRow(HWND list, int row)
{
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

void SetControlText(HWND window, int id, const std::wstring& text)
{
    SetWindowTextW(GetDlgItem(window, id), text.c_str());
}

void DiscardQueuedMessages(HWND window, UINT message)
{
    MSG queued;
    while (PeekMessageW(&queued, window, message, message, PM_REMOVE)) {
    }
}
