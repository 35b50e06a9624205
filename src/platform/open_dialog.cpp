#include "platform/open_dialog.h"

#include <cderr.h>

#include <vector>

#include "platform/system_library.h"

BOOL ShowOpenDialog(OPENFILENAMEW& dialog)
{
    using GetOpenFileName = BOOL(WINAPI*)(LPOPENFILENAMEW);
    static const auto open = reinterpret_cast<GetOpenFileName>(
        reinterpret_cast<void*>(SystemFunction(L"comdlg32.dll", "GetOpenFileNameW")));
    if (!open)
        return FALSE;
    // The dialog leaves the process in the last folder browsed, which Windows
    // then can't eject while the player runs (a USB stick): put it back.
    std::vector<wchar_t> folder(GetCurrentDirectoryW(0, nullptr));
    const bool known = !folder.empty() && GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()) != 0;
    const BOOL chosen = open(&dialog);
    if (known)
        SetCurrentDirectoryW(folder.data());
    return chosen;
}

DWORD OpenDialogError()
{
    using ExtendedError = DWORD(WINAPI*)();
    static const auto error = reinterpret_cast<ExtendedError>(
        reinterpret_cast<void*>(SystemFunction(L"comdlg32.dll", "CommDlgExtendedError")));
    // Without the common dialogs there was no dialog to cancel.
    return error ? error() : CDERR_INITIALIZATION;
}
