#include "playlist/playlist.h"

#include <utility>

#include "platform/controls.h"
#include "window/control_ids.h"

namespace {
std::vector<std::wstring> entries;
}

namespace Playlist {

void Append(HWND window, std::wstring path, const std::wstring& rowText)
{
    entries.push_back(std::move(path));
    AddListRow(ControlOf(window, IDC_PLAYLIST), rowText);
}

void Clear(HWND window)
{
    entries.clear();
    ClearListRows(ControlOf(window, IDC_PLAYLIST));
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

void Reserve(HWND window, std::size_t moreEntries)
{
    entries.reserve(entries.size() + moreEntries);
    ReserveListRows(ControlOf(window, IDC_PLAYLIST), moreEntries);
}

}  // namespace Playlist
