#pragma once
#include <windows.h>

#include <cstddef>
#include <string_view>

#include "playlist/path_list.h"

// The ordered list of track paths. Row i of the playlist list box always
// belongs to entry i: every change here is made together with the matching
// change to the list box. Callers find the list box once per operation, not
// once per row: a long playlist makes that lookup add up.
namespace Playlist {

// Adds the path at the end, and its row at the end of the list box. A row
// always shows a file name, which is the end of its path: the row is the
// path from `rowStart` on, so no row is ever copied out of its path.
void Append(HWND list, std::wstring_view path, std::size_t rowStart);
// Empties the playlist, then the list box.
void Clear(HWND list);
std::size_t Count();
// Valid until the playlist is replaced or cleared.
std::wstring_view At(std::size_t index);
const PathList& Entries();
// Entry `index` names `path` from now on, and its row shows that name; the
// selection stays where it is.
void Rename(HWND list, std::size_t index, std::wstring_view path);
// Replaces every entry with `paths`, and the list box's rows with theirs,
// each the path's file name. The paths are taken over, never copied.
void Replace(HWND list, PathList paths);

}  // namespace Playlist
