#include "playlist/path_list.h"

#include <algorithm>
#include <cwchar>

namespace {
// 128 KiB: large enough that a long playlist needs few, small enough that
// the last one's unused end costs nothing to speak of.
constexpr std::size_t kBlockCharacters = 1 << 16;
}  // namespace

PathList::PathList(std::initializer_list<std::wstring_view> paths)
{
    Reserve(paths.size());
    for (const std::wstring_view path : paths)
        Append(path);
}

PathList::PathList(const PathList& other)
{
    *this = other;
}

PathList& PathList::operator=(const PathList& other)
{
    if (this == &other)
        return *this;
    PathList copy;
    copy.Reserve(other.size());
    for (std::size_t i = 0; i < other.size(); ++i)
        copy.Append(other[i]);
    return *this = std::move(copy);
}

wchar_t* PathList::Room(std::size_t length)
{
    const std::size_t needed = length + 1;
    if (capacity_ - used_ < needed) {
        // A path longer than a block gets one of its own size.
        capacity_ = std::max(kBlockCharacters, needed);
        blocks_.emplace_back(new wchar_t[capacity_]);  // written before it is read
        used_ = 0;
    }
    wchar_t* room = blocks_.back().get() + used_;
    room[length] = L'\0';
    used_ += needed;
    return room;
}

PathList::Path PathList::Store(std::wstring_view path)
{
    wchar_t* room = Room(path.size());
    std::wmemcpy(room, path.data(), path.size());
    return {room, path.size()};
}

void PathList::Append(std::wstring_view path)
{
    paths_.push_back(Store(path));
}

wchar_t* PathList::AppendRoom(std::size_t length)
{
    wchar_t* room = Room(length);
    paths_.push_back({room, length});
    return room;
}

void PathList::Rename(std::size_t index, std::wstring_view path)
{
    paths_.at(index) = Store(path);
}

void PathList::Clear()
{
    *this = PathList();
}

bool operator==(const PathList& a, const PathList& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}
