#pragma once
#include <windows.h>

#include <functional>

// The playlist file is shared ground: people edit it in Notepad, scripts
// write it, and a second window of the player saves it too. No one's change
// is lost: each save reads, compares and writes under one lock that every
// copy of the player takes for that file, and only for the save itself.

// Add File: reads the file again if someone else changed it, then `add`s
// the chosen files and saves. ERROR_SUCCESS, or why the save failed (the
// added entries stay in the list, and the next save writes them).
DWORD SaveWithAdditions(HWND window, const std::function<void()>& add);

// The window is active again: shows what others wrote meanwhile. Costs one
// look at the file's size and time when nothing changed.
void ShowPlaylistChanges(HWND window);

// The save when the window closes, silent. It never overwrites a change it
// did not make: then it is skipped, unless entries whose save failed are
// waiting; those are added to what the file holds now. A file that is gone
// is written again.
void SavePlaylistAtExit(HWND window);
