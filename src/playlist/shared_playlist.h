#pragma once
#include <windows.h>

#include <functional>

// The playlist file is shared ground: people edit it in Notepad, scripts
// write it, and a second window of the player saves it too. No one's change
// is lost: each save reads, compares and writes under one lock that every
// copy of the player takes for that file, and only for the save itself.
// Notepad and scripts take no lock: when one changes the file while a save
// writes (its size or time moved just before the new file would take its
// place), the save reads it again, merges, and writes again.

struct SaveResult {
    DWORD error = ERROR_SUCCESS;  // why the save failed
    // The file could not be read (another program holds it, access is
    // denied, a cloud file can't be downloaded), so it was not replaced.
    bool unreadable = false;
};

// Add File: reads the file again if someone else changed it, then `add`s
// the chosen files and saves. When it fails, the added entries stay in the
// list, and the next save writes them.
SaveResult SaveWithAdditions(HWND window, const std::function<void()>& add);

// The window is active again: shows what others wrote meanwhile. Costs one
// look at the file's size and time when nothing changed.
void ShowPlaylistChanges(HWND window);

// The save when the window closes or Windows ends the session, silent. It
// writes only what is new: a file that is gone is written again, and
// entries whose save failed are added to what the file holds now. A file
// that holds what the player read or wrote, or someone else's change, is
// left exactly as it is.
void SavePlaylistAtExit(HWND window);
