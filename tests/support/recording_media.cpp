#include "support/recording_media.h"

#include <mmsystem.h>

#include <cwchar>

#include "platform/media_service.h"
#include "playback/play_state.h"
#include "playlist/playlist.h"

namespace recorded {

std::vector<std::wstring> calls;
std::vector<HWND> callbacks;
std::map<std::wstring, std::wstring> statusReplies;
std::set<std::wstring> failing;

void Reset()
{
    calls.clear();
    callbacks.clear();
    statusReplies.clear();
}

void ResetPlayer(HWND list)
{
    Playlist::Clear(list);
    playState = Stopped;
    currentTrack.clear();
    failing.clear();
    Reset();
}

}  // namespace recorded

DWORD SendMediaCommand(const wchar_t* command, wchar_t* reply, UINT replyLength,
                       HWND callback)
{
    recorded::calls.push_back(command);
    recorded::callbacks.push_back(callback);
    const auto answer = recorded::statusReplies.find(command);
    if (reply && answer != recorded::statusReplies.end())
        wcsncpy_s(reply, replyLength, answer->second.c_str(), _TRUNCATE);
    return recorded::failing.count(command) ? MCIERR_INVALID_FILE : 0;
}

void StartWindowTimer(HWND, UINT_PTR id, UINT periodMs)
{
    recorded::calls.push_back(L"start timer " + std::to_wstring(id) + L" every " +
                              std::to_wstring(periodMs) + L" ms");
}

void StopWindowTimer(HWND, UINT_PTR id)
{
    recorded::calls.push_back(L"stop timer " + std::to_wstring(id));
}

bool PostToWindow(HWND window, UINT message)
{
    recorded::calls.push_back(L"post message " + std::to_wstring(message));
    return PostMessageW(window, message, 0, 0) != FALSE;
}
