#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

// Where the file of a playlist line is. A line is written by hand as often
// as by Add File, and a player kept on a USB stick with its music beside it
// gets another drive letter on every PC: so a line that is no full path is
// read from the playlist's own folder, never from wherever the player was
// started. The line itself stays as it is.

// The full path that `line` names, read from `folder` (with or without its
// last separator):
//   a.mp3, Music\b.mp3, ..\c.mp3   the folder's own file
//   \Music\a.mp3                   from the root of the folder's drive or share
//   C:a.mp3                        from the folder where C: is its drive,
//                                  else from the root of C:
//   C:\..., \\server\share\..., \\?\...   as they stand
std::wstring TrackPath(const std::wstring& line, const std::wstring& folder);

// The full path of playlist entry `index`, for the media service to open.
// An 8-bit line of the file whose file doesn't exist may have been written
// in the console's code page (cmd's "dir > playlist.txt" does so): where
// that reading names a file that exists, it is the entry, and the entry's
// row in `list` shows it. Only such a line is looked up, only when it is
// played, and no more than twice.
std::wstring PathToOpen(HWND list, std::size_t index);
