#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

// The few list-box, label and window-queue operations the player relies on,
// each with the result its callers expect.

HWND ControlOf(HWND window, int id);

// Adds a row at the end: the list box is created without sorting.
void AddListRow(HWND list, const wchar_t* text);
void ClearListRows(HWND list);
// Row `row` shows `text` instead; the selection stays on the same row.
void SetListRow(HWND list, int row, const wchar_t* text);
// Lets the list box allocate room for a long run of rows at once.
void ReserveListRows(HWND list, std::size_t rows);
// The selected row, or -1 when none is selected.
int SelectedRow(HWND list);
void SelectRow(HWND list, int row);

void SetControlText(HWND window, int id, const std::wstring& text);

// Takes every `message` still queued for the window out of its queue, unread.
void DiscardQueuedMessages(HWND window, UINT message);
