#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// The ordered list of track paths. Row i of the main window's list box always
// belongs to entry i: every change here is made together with the matching
// change to the list box, which is found through the main window.
namespace Playlist {

// Adds the path at the end, and the row text at the end of the list box.
void Append(HWND window, std::wstring path, const std::wstring& rowText);
// Empties the playlist, then the list box.
void Clear(HWND window);
std::size_t Count();
const std::wstring& At(std::size_t index);
const std::vector<std::wstring>& Entries();
// Makes room for that many more entries, in the playlist and the list box,
// before a long run of appends.
void Reserve(HWND window, std::size_t moreEntries);

}  // namespace Playlist
