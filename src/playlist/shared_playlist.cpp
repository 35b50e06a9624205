#include "playlist/shared_playlist.h"

#include <utility>

#include "platform/file_lock.h"
#include "playlist/playlist_file.h"

namespace {

// Another copy's save takes milliseconds; one that holds the lock for
// longer than this is stuck, and this save gives up.
constexpr DWORD kLockPatienceMs = 2000;

// How often a save starts over because someone else wrote the file while it
// saved; a program that rewrites it all the time wins.
constexpr int kSaveRounds = 5;

}  // namespace

SaveResult SaveWithAdditions(HWND window, const std::function<void()>& add)
{
    // A lock that can't be had at all is no holder to wait for: the save
    // goes on, and its comparisons guard the file.
    const FileLock lock(GetPlaylistPath(), kLockPatienceMs);
    if (lock.busy()) {
        add();
        return {ERROR_BUSY, false};
    }
    DWORD error = ERROR_SUCCESS;
    for (int round = 0; round < kSaveRounds; ++round) {
        PlaylistFileLook look = LookAtPlaylistFile();
        const bool unreadable = look.state == PlaylistFileState::Unreadable;
        if (look.state == PlaylistFileState::Changed)
            ReloadPlaylist(window, std::move(look));
        if (round == 0)
            add();
        // What it holds can't be known, so it is never replaced.
        if (unreadable)
            return {look.error, true};
        error = SavePlaylist();
        if (error != ERROR_RETRY)
            break;
    }
    return {error, false};
}

void ShowPlaylistChanges(HWND window)
{
    if (!PlaylistFileMayHaveChanged())
        return;
    PlaylistFileLook look = LookAtPlaylistFile();
    if (look.state == PlaylistFileState::Changed)
        ReloadPlaylist(window, std::move(look));
}

void SavePlaylistAtExit(HWND window)
{
    // Nothing new to write: whatever the file holds stays as it is.
    if (UnsavedEntries() == 0 && PlaylistFileExists())
        return;
    const FileLock lock(GetPlaylistPath(), kLockPatienceMs);
    if (lock.busy())
        return;
    for (int round = 0; round < kSaveRounds; ++round) {
        PlaylistFileLook look = LookAtPlaylistFile();
        switch (look.state) {
        case PlaylistFileState::Missing:
            break;  // written again
        case PlaylistFileState::Unchanged:
            // It holds what the player read or wrote: it is left exactly as
            // it is unless rows whose save failed must go in.
            if (UnsavedEntries() == 0)
                return;
            break;
        case PlaylistFileState::Changed:
            if (UnsavedEntries() == 0)
                return;  // someone else's change, and nothing of ours to add
            ReloadPlaylist(window, std::move(look));
            break;
        case PlaylistFileState::Unreadable:
            return;  // what it holds can't be known, so it can't be safely replaced
        }
        if (SavePlaylist() != ERROR_RETRY)
            return;
    }
}
