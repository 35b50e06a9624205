#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "e2e/player_driver.h"

// Each test gets an empty folder of its own, a copy of the player in it, and
// the generated tracks: one.mp3, two.mp3, three.mp3 (2 s each), long.mp3 and
// "other long.mp3" (8 s each).
class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The Windows path of a generated track.
    static std::wstring Track(const std::wstring& name);
    std::wstring PlaylistFile() const { return folder_ + L"\\playlist.txt"; }
    void WritePlaylist(const std::string& bytes) const;
    std::string SavedPlaylist() const;

    PlayerProcess& Start(std::chrono::milliseconds timeout = std::chrono::seconds(20));

    std::wstring folder_;
    std::unique_ptr<PlayerProcess> player_;
};

// Deletes a folder and everything in it, read-only files included.
void RemoveTree(const std::wstring& folder);

// The path with every slash turned into a backslash: the build gives its
// paths with slashes.
std::wstring WithBackslashes(std::wstring path);

// Latin-1 bytes of a path made of characters up to U+00FF.
std::string Bytes(const std::wstring& path);
