#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/files.h"

// "playlist.txt" in the executable's folder, whatever the working directory.
std::wstring GetPlaylistPath();
// The same, for an executable at `executablePath`.
std::wstring PlaylistPathBeside(const std::wstring& executablePath);
// The folder that holds it, with its last separator.
std::wstring PlaylistFolder();

// The bytes of line `index` of the file, where it is a line of 8-bit text
// read in the code page (neither ASCII nor UTF-8, in a file without a
// mark); empty for any other line and for entries not from the file.
std::string_view EightBitLineOf(std::size_t index);

// Fills the playlist and its list box from the file. When the file can't be
// opened both stay as they are; when it opens they are replaced by its paths.
void LoadPlaylist(HWND window);

// Writes every path to the file: the lines it read as they were, the paths
// added since in its encoding. It replaces only the file the player last
// read, wrote or looked at: ERROR_RETRY when the file's size or last-write
// time moved since. ERROR_SUCCESS, or the system's error code when it failed
// (ERROR_NO_UNICODE_TRANSLATION for a path that the file's lines leave no
// way to write); then the earlier file stays as it was.
DWORD SavePlaylist();

// The file is shared: Notepad, scripts and other copies of the player change
// it too. The player remembers what it held when the player last read or
// wrote it, and compares its content with that.
enum class PlaylistFileState {
    Unchanged,   // it holds what the player last read or wrote
    Changed,     // someone else wrote it: `bytes` holds what it holds now
    Missing,     // there is no such file (any more)
    Unreadable,  // it could not be read: a folder, locked, no access
};
struct PlaylistFileLook {
    PlaylistFileState state;
    std::string bytes;
    FileStamp stamp;  // taken before the file was read
    DWORD error;      // why an unreadable file could not be read
};
PlaylistFileLook LookAtPlaylistFile();
bool PlaylistFileExists();
// Whether the file's size or last-write time moved since the player last
// read, wrote or looked at it; only then can it have changed.
bool PlaylistFileMayHaveChanged();

// Puts the paths of a file that changed in the playlist and its list box.
// Entries whose save failed stay, after them, for the next save. The
// selection stays on the same path where it is still in the list, else goes
// to the row before the first of the tracks that followed it that is still
// there (none before the first row), so that the advance plays that one.
void ReloadPlaylist(HWND window, PlaylistFileLook look);

// How many entries at the end of the playlist are not in the file yet,
// because their save failed.
std::size_t UnsavedEntries();
