#include "platform/open_dialog.h"

#include "platform/system_library.h"

BOOL ShowOpenDialog(OPENFILENAMEW& dialog)
{
    using GetOpenFileName = BOOL(WINAPI*)(LPOPENFILENAMEW);
    static const auto open = reinterpret_cast<GetOpenFileName>(
        reinterpret_cast<void*>(SystemFunction(L"comdlg32.dll", "GetOpenFileNameW")));
    return open ? open(&dialog) : FALSE;
}
