#include "playlist/playlist.h"

#include <utility>

#include "platform/controls.h"
#include "playlist/display_name.h"

namespace {
std::vector<std::wstring> entries;
}

namespace Playlist {

void Append(HWND list, std::wstring path, std::size_t rowStart)
{
    entries.push_back(std::move(path));
    AddListRow(list, entries.back().c_str() + rowStart);
}

void Clear(HWND list)
{
    entries.clear();
    ClearListRows(list);
}

std::size_t Count()
{
    return entries.size();
}

const std::wstring& At(std::size_t index)
{
    return entries.at(index);
}

const std::vector<std::wstring>& Entries()
{
    return entries;
}

void Rename(HWND list, std::size_t index, std::wstring path)
{
    entries.at(index) = std::move(path);
    SetListRow(list, static_cast<int>(index), entries[index].c_str() + DisplayNameStart(entries[index]));
}

void Replace(HWND list, std::vector<std::wstring> paths)
{
    entries = std::move(paths);
    ClearListRows(list);
    ReserveListRows(list, entries.size());
    for (const auto& path : entries)
        AddListRow(list, path.c_str() + DisplayNameStart(path));
}

}  // namespace Playlist
