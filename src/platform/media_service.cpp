#include "platform/media_service.h"

#include <mmsystem.h>

void SendMediaCommand(const wchar_t* command, wchar_t* reply, UINT replyLength,
                      HWND callback)
{
    mciSendStringW(command, reply, replyLength, callback);
}

void StartWindowTimer(HWND window, UINT_PTR id, UINT periodMs)
{
    SetTimer(window, id, periodMs, nullptr);
}

void StopWindowTimer(HWND window, UINT_PTR id)
{
    KillTimer(window, id);
}
