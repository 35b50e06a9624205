#include "platform/media_service.h"

#include <mmsystem.h>

#include "platform/system_library.h"

DWORD SendMediaCommand(const wchar_t* command, wchar_t* reply, UINT replyLength,
                       HWND callback)
{
    using SendString = MCIERROR(WINAPI*)(LPCWSTR, LPWSTR, UINT, HWND);
    static const auto send =
        reinterpret_cast<SendString>(reinterpret_cast<void*>(SystemFunction(L"winmm.dll", "mciSendStringW")));
    return send ? send(command, reply, replyLength, callback) : MCIERR_CANNOT_LOAD_DRIVER;
}

void StartWindowTimer(HWND window, UINT_PTR id, UINT periodMs)
{
    SetTimer(window, id, periodMs, nullptr);
}

void StopWindowTimer(HWND window, UINT_PTR id)
{
    KillTimer(window, id);
}

bool PostToWindow(HWND window, UINT message)
{
    return PostMessageW(window, message, 0, 0) != FALSE;
}
