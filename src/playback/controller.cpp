#include "playback/controller.h"

#include <mmsystem.h>

#include <cwchar>
#include <cstdlib>
#include <string>

#include "platform/control_ids.h"
#include "platform/controls.h"
#include "platform/media_service.h"
#include "playback/format_progress.h"
#include "playback/media_commands.h"
#include "playback/play_state.h"
#include "playlist/display_name.h"
#include "playlist/playlist.h"

PlayState playState = Stopped;
std::wstring currentTrack;

namespace {

void Send(const wchar_t* command, HWND callback = nullptr)
{
    SendMediaCommand(command, nullptr, 0, callback);
}

int QueryStatus(const wchar_t* query)
{
    // Starts empty so that a failed query reads as 0, never as stale text.
    wchar_t reply[kStatusReplyLength] = {};
    SendMediaCommand(query, reply, kStatusReplyLength, nullptr);
    return _wtoi(reply);
}

int SelectedPlaylistRow(HWND window)
{
    return SelectedRow(ControlOf(window, IDC_PLAYLIST));
}

}  // namespace

void PlayTrack(HWND window, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= Playlist::Count())
        return;
    currentTrack = Playlist::At(static_cast<std::size_t>(index));
    Send(kCloseCommand);
    // No file name holds a quotation mark; one in a hand-edited playlist
    // line would end the quoted path early and let the rest of the line be
    // read as further command words. Such a path is not opened at all, and
    // plays on as a track whose open failed.
    if (currentTrack.find(L'"') == std::wstring::npos)
        Send(OpenCommand(currentTrack).c_str());
    Send(kSetTimeFormatCommand);
    Send(kPlayCommand, window);
    StartWindowTimer(window, IDT_PROGRESS, kProgressPeriodMs);
    SetControlText(window, IDC_NOW_PLAYING, DisplayName(currentTrack));
    SelectRow(ControlOf(window, IDC_PLAYLIST), index);
}

void PressPlay(HWND window)
{
    const int row = SelectedPlaylistRow(window);
    if (row < 0)
        return;
    switch (playState) {
    case Paused:
        // The paused track goes on, whichever row is selected now.
        Send(kResumeCommand);
        break;
    case Playing:
        // Paths are compared, not rows: the same file at another row goes on.
        if (Playlist::At(static_cast<std::size_t>(row)) == currentTrack)
            return;
        PlayTrack(window, row);
        break;
    case Stopped:
        PlayTrack(window, row);
        break;
    }
    playState = Playing;
}

void PressPause()
{
    if (playState != Playing)
        return;
    Send(kPauseCommand);
    playState = Paused;
}

void PressStop(HWND window)
{
    StopWindowTimer(window, IDT_PROGRESS);
    Send(kStopCommand);
    Send(kCloseCommand);
    playState = Stopped;
}

void OnTrackNotify(HWND window, WPARAM flags)
{
    // Closing a track whose play request is pending makes the media service
    // report that request as aborted, after the next track has started; such
    // a report says nothing about the track that plays now.
    if (flags == MCI_NOTIFY_ABORTED || flags == MCI_NOTIFY_SUPERSEDED)
        return;
    if (playState != Playing)
        return;
    StopWindowTimer(window, IDT_PROGRESS);
    const int row = SelectedPlaylistRow(window);
    const std::size_t count = Playlist::Count();
    if (count == 0)
        return;
    // The advance starts from the selected row, not from the playing one.
    const std::size_t next = (static_cast<std::size_t>(row + 1)) % count;
    PlayTrack(window, static_cast<int>(next));
}

void OnProgressTick(HWND window)
{
    const int position = QueryStatus(kPositionQuery);
    const int length = QueryStatus(kLengthQuery);
    SetControlText(window, IDC_TIME, FormatProgress(position, length));
}

void CloseTrack()
{
    // Nothing was ever opened: spare the media service its start-up.
    if (!currentTrack.empty())
        Send(kCloseCommand);
}
