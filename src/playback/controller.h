#pragma once
#include <windows.h>

// The progress timer: WM_TIMER to the main window twice a second.
inline constexpr UINT_PTR IDT_PROGRESS = 1;
inline constexpr UINT kProgressPeriodMs = 500;

// What the now-playing label says when no track plays.
inline constexpr wchar_t kNothingPlaying[] = L"Nothing playing";

// Opens and starts playlist entry `index`. An entry that can't be played
// (missing, empty, not audio) counts as a track that ended at once: the next
// one is tried, wrapping after the last, when the window gets
// WM_TRY_NEXT_TRACK. Once every entry of the playlist failed in a row the
// player stops trying: then it is Stopped and the result is false. An index
// outside the playlist does nothing (false).
bool PlayTrack(HWND window, int index);

// The player's own message to its main window: a search for a track that
// plays goes on with the next entry.
inline constexpr UINT WM_TRY_NEXT_TRACK = WM_APP + 1;
void OnTryNextTrack(HWND window);

void PressPlay(HWND window);
void PressPause();
void PressStop(HWND window);

// The media service reports that a play request is over. `flags` is the
// notification's wParam.
void OnTrackNotify(HWND window, WPARAM flags);

void OnProgressTick(HWND window);

// Closes the open track before the program ends; sends nothing if no track
// was ever opened.
void CloseTrack();
