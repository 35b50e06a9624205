#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "playlist/display_name.h"
#include "playlist/playlist.h"
#include "playlist/playlist_file.h"
#include "support/files.h"
#include "support/test_window.h"

using Strings = std::vector<std::wstring>;

inline Strings StringsOf(const PathList& paths)
{
    Strings strings;
    for (std::size_t i = 0; i < paths.size(); ++i)
        strings.emplace_back(paths[i]);
    return strings;
}

inline PathList PathListOf(const Strings& strings)
{
    PathList paths;
    for (const std::wstring& path : strings)
        paths.Append(path);
    return paths;
}

// The playlist file of these tests is the real one: beside the test program.
// Neither is made from the other: clang for this target may initialise inline
// variables out of order.
inline const std::wstring kFolder = ExecutableFolder();
inline const std::wstring kPlaylistFile = ExecutableFolder() + L"playlist.txt";

class PlaylistFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Forget();
        Playlist::Clear(window.list());
        LoadPlaylist(window.handle());  // no file: the player remembers none
    }
    void TearDown() override { Forget(); }

    // No file, and no temporary file a crashed run left for a start to take.
    static void Forget()
    {
        SetFileAttributesW(kPlaylistFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(kPlaylistFile.c_str());
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileW((kPlaylistFile + L".*.tmp").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
            DeleteFileW((kFolder + found.cFileName).c_str());
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
    }

    void Add(const Strings& paths)
    {
        for (const auto& path : paths)
            Playlist::Append(window.list(), path, DisplayNameStart(path));
    }

    // Loads `bytes` as the playlist file and returns what was read.
    Strings LoadFrom(const std::string& bytes)
    {
        WriteBytes(kPlaylistFile, bytes);
        LoadPlaylist(window.handle());
        return StringsOf(Playlist::Entries());
    }

    TestWindow window;
};

