#include "platform/open_dialog.h"

#include <cderr.h>

#include "platform/system_library.h"

BOOL ShowOpenDialog(OPENFILENAMEW& dialog)
{
    using GetOpenFileName = BOOL(WINAPI*)(LPOPENFILENAMEW);
    static const auto open = reinterpret_cast<GetOpenFileName>(
        reinterpret_cast<void*>(SystemFunction(L"comdlg32.dll", "GetOpenFileNameW")));
    return open ? open(&dialog) : FALSE;
}

DWORD OpenDialogError()
{
    using ExtendedError = DWORD(WINAPI*)();
    static const auto error = reinterpret_cast<ExtendedError>(
        reinterpret_cast<void*>(SystemFunction(L"comdlg32.dll", "CommDlgExtendedError")));
    // Without the common dialogs there was no dialog to cancel.
    return error ? error() : CDERR_INITIALIZATION;
}
