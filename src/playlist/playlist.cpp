#include "playlist/playlist.h"

#include <stdexcept>
#include <utility>

#include "platform/controls.h"
#include "playlist/display_name.h"

namespace {
PathList entries;
}

namespace Playlist {

void Append(HWND list, std::wstring_view path, std::size_t rowStart)
{
    entries.Append(path);
    AddListRow(list, entries.Terminated(entries.size() - 1) + rowStart);
}

void Clear(HWND list)
{
    entries.Clear();
    ClearListRows(list);
}

std::size_t Count()
{
    return entries.size();
}

std::wstring_view At(std::size_t index)
{
    if (index >= entries.size())
        throw std::out_of_range("no such playlist entry");
    return entries[index];
}

const PathList& Entries()
{
    return entries;
}

void Rename(HWND list, std::size_t index, std::wstring_view path)
{
    entries.Rename(index, path);
    SetListRow(list, static_cast<int>(index), entries.Terminated(index) + DisplayNameStart(entries[index]));
}

void Replace(HWND list, PathList paths)
{
    entries = std::move(paths);
    ClearListRows(list);
    ReserveListRows(list, entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        AddListRow(list, entries.Terminated(i) + DisplayNameStart(entries[i]));
}

}  // namespace Playlist
