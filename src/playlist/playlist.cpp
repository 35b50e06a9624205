#include "playlist/playlist.h"

#include <utility>

#include "platform/controls.h"

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

void Reserve(HWND list, std::size_t moreEntries)
{
    entries.reserve(entries.size() + moreEntries);
    ReserveListRows(list, moreEntries);
}

}  // namespace Playlist
