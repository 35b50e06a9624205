#pragma once
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Paths kept end to end in a few large blocks of characters, each path
// followed by a NUL so that its row can be handed to the list box as it
// stands. A playlist of 100,000 paths is about a hundred allocations
// rather than one for each path, and the blocks never move: a block that
// is full stays as it is and the next path starts a new one. A path may
// hold a NUL of its own (a UTF-16 file can): its length is kept.
struct PathList {
    PathList() = default;
    PathList(std::initializer_list<std::wstring_view> paths);
    PathList(const PathList& other);
    PathList& operator=(const PathList& other);
    PathList(PathList&&) noexcept = default;
    PathList& operator=(PathList&&) noexcept = default;

    std::size_t size() const { return paths_.size(); }
    bool empty() const { return paths_.empty(); }
    std::wstring_view operator[](std::size_t index) const { return {paths_[index].start, paths_[index].length}; }
    // The path with the NUL that follows it.
    const wchar_t* Terminated(std::size_t index) const { return paths_[index].start; }

    void Reserve(std::size_t paths) { paths_.reserve(paths); }
    void Append(std::wstring_view path);
    // A path of `length` characters at the end, for the caller to write.
    wchar_t* AppendRoom(std::size_t length);
    // Path `index` is `path` from now on. Its old characters stay unused:
    // a path is renamed at most once or twice in a run.
    void Rename(std::size_t index, std::wstring_view path);
    void Clear();

private:
    struct Path {
        const wchar_t* start;
        std::size_t length;
    };
    wchar_t* Room(std::size_t length);
    Path Store(std::wstring_view path);

    std::vector<std::unique_ptr<wchar_t[]>> blocks_;
    std::size_t used_ = 0, capacity_ = 0;  // of the last block
    std::vector<Path> paths_;
};

bool operator==(const PathList& a, const PathList& b);
