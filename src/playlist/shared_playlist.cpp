#include "playlist/shared_playlist.h"

#include <utility>

#include "platform/file_lock.h"
#include "playlist/playlist_file.h"

namespace {

// Another copy's save takes milliseconds; one that holds the lock for
// longer than this is stuck, and this save gives up.
constexpr DWORD kLockPatienceMs = 2000;

}  // namespace

DWORD SaveWithAdditions(HWND window, const std::function<void()>& add)
{
    const FileLock lock(GetPlaylistPath(), kLockPatienceMs);
    if (!lock.held()) {
        add();
        return ERROR_BUSY;
    }
    PlaylistFileLook look = LookAtPlaylistFile();
    if (look.state == PlaylistFileState::Changed)
        ReloadPlaylist(window, std::move(look));
    add();
    return SavePlaylist();
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
    const FileLock lock(GetPlaylistPath(), kLockPatienceMs);
    if (!lock.held())
        return;
    PlaylistFileLook look = LookAtPlaylistFile();
    switch (look.state) {
    case PlaylistFileState::Missing:
        SavePlaylist();
        break;
    case PlaylistFileState::Unchanged:
        if (!PlaylistFileIsUpToDate())
            SavePlaylist();
        break;
    case PlaylistFileState::Changed:
        if (UnsavedEntries() > 0) {
            ReloadPlaylist(window, std::move(look));
            SavePlaylist();
        }
        break;
    case PlaylistFileState::Unreadable:
        break;  // what it holds can't be known, so it can't be safely replaced
    }
}
