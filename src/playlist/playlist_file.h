#pragma once
#include <windows.h>

#include <string>

// "playlist.txt" in the executable's folder, whatever the working directory.
std::wstring GetPlaylistPath();
// The same, for an executable at `executablePath`.
std::wstring PlaylistPathBeside(const std::wstring& executablePath);

// Fills the playlist and its list box from the file. When the file can't be
// opened both stay as they are; when it opens they are replaced by its paths.
void LoadPlaylist(HWND window);

// Writes every path to the file. ERROR_SUCCESS, or the system's error code
// when it failed; then the earlier file stays exactly as it was.
DWORD SavePlaylist();
