#include "playback/controller.h"

#include <mmsystem.h>

#include <cwchar>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/control_ids.h"
#include "platform/controls.h"
#include "platform/media_service.h"
#include "playback/format_progress.h"
#include "playback/media_commands.h"
#include "playback/play_state.h"
#include "playlist/display_name.h"
#include "playlist/playlist.h"
#include "playlist/track_location.h"

PlayState playState = Stopped;
std::wstring currentTrack;

namespace {

// Tracks that could not be played, one after another, since a track last
// played to its end or the user pressed Play. Once the whole playlist failed
// in a row, nothing in it can be played now.
std::size_t failuresInARow = 0;

// The entry that a search for a track that plays tries next, while one goes
// on. It tries one entry a message, so that the window keeps answering while
// it passes over a great many files that are gone (each open that fails
// takes milliseconds). One message at a time is on its way.
std::optional<std::size_t> searchNext;
bool tryPosted = false;

bool Send(const wchar_t* command, HWND callback = nullptr)
{
    return SendMediaCommand(command, nullptr, 0, callback) == 0;
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

// Closes the open track, then opens and starts `path`: whether it plays. A
// command that fails sends no report, so its result is the only word of it.
bool StartTrack(HWND window, const std::wstring& path)
{
    Send(kCloseCommand);
    // What the closed track's play request still reports is about a device
    // that is gone. Its end, posted just as it was closed (Wine 10 posts it
    // so), must not move on the track that starts now. The device identifier
    // in the report can't tell: both Wines leave it 0, and Windows gives a
    // new device the number the closed one had.
    DiscardQueuedMessages(window, MM_MCINOTIFY);
    // No file name holds a quotation mark; one in a hand-edited playlist
    // line would end the quoted path early and let the rest of the line be
    // read as further command words. Such a path is never opened.
    if (path.find(L'"') != std::wstring::npos || !Send(OpenCommand(path).c_str()))
        return false;
    Send(kSetTimeFormatCommand);
    return Send(kPlayCommand, window);
}

// Nothing in the playlist can be played now: the player stops trying.
void GiveUp(HWND window)
{
    StopWindowTimer(window, IDT_PROGRESS);
    Send(kCloseCommand);
    SetControlText(window, IDC_NOW_PLAYING, kNothingPlaying);
    playState = Stopped;
}

// Plays entry `at`, or goes on to the entry after it with the next message;
// false when the whole playlist failed in a row and the player gave up.
bool TryEntry(HWND window, std::size_t at)
{
    // The labels, the selection and the timer follow only a track that
    // plays: passing over missing files shows none of their names.
    if (StartTrack(window, PathToOpen(ControlOf(window, IDC_PLAYLIST), at))) {
        currentTrack = Playlist::At(at);
        StartWindowTimer(window, IDT_PROGRESS, kProgressPeriodMs);
        SetControlText(window, IDC_NOW_PLAYING, DisplayName(currentTrack));
        SelectRow(ControlOf(window, IDC_PLAYLIST), static_cast<int>(at));
        return true;
    }
    if (++failuresInARow >= Playlist::Count()) {
        GiveUp(window);
        return false;
    }
    searchNext = (at + 1) % Playlist::Count();
    if (!tryPosted)
        tryPosted = PostToWindow(window, WM_TRY_NEXT_TRACK);
    return true;
}

}  // namespace

bool PlayTrack(HWND window, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= Playlist::Count())
        return false;
    // A search that goes on ends here: this one takes its place.
    searchNext.reset();
    return TryEntry(window, static_cast<std::size_t>(index));
}

void OnTryNextTrack(HWND window)
{
    tryPosted = false;
    // Stop ended the search meanwhile.
    if (!searchNext || Playlist::Count() == 0)
        return;
    const std::size_t at = *searchNext % Playlist::Count();
    searchNext.reset();
    TryEntry(window, at);
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
        [[fallthrough]];
    case Stopped:
        // The user asks for another try, however many tracks failed before.
        failuresInARow = 0;
        if (!PlayTrack(window, row))
            return;
        break;
    }
    playState = Playing;
}

void PressPause()
{
    // While a search goes on nothing plays that could be paused.
    if (playState != Playing || searchNext)
        return;
    Send(kPauseCommand);
    playState = Paused;
}

void PressStop(HWND window)
{
    searchNext.reset();
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
    // A track that failed while it played counts towards a lap of failures;
    // any other end means that something in the playlist plays.
    if (flags != MCI_NOTIFY_FAILURE)
        failuresInARow = 0;
    else if (++failuresInARow >= count) {
        GiveUp(window);
        return;
    }
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
