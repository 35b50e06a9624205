#pragma once
#include <windows.h>

// The progress timer: WM_TIMER to the main window twice a second.
inline constexpr UINT_PTR IDT_PROGRESS = 1;
inline constexpr UINT kProgressPeriodMs = 500;

// Opens and starts playlist entry `index`; an index outside the playlist
// does nothing.
void PlayTrack(HWND window, int index);

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
