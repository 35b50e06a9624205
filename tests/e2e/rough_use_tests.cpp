// The real player under rough use: playlist files edited by hand or broken,
// media that is missing or not media at all, and a long unattended session.
// It never crashes, hangs or loses an entry.
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "e2e/e2e_fixture.h"
#include "e2e/process_probe.h"
#include "support/files.h"
#include "support/playlist_lines.h"

namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::wstring>;

enum : int { kPlay = 1, kStop = 3, kNowPlaying = 101 };

TEST_F(PlayerTest, RoughPlaylistFilesOpenAndAreLeftAsTheyWere)
{
    std::vector<std::pair<std::string, std::string>> files = {
        {"NUL bytes inside lines", std::string("C:\\a\0b.mp3\r\nC:\\\0\r\n\0\0\n", 18)},
        {"one 10 MB line", "C:\\" + std::string(10 * 1024 * 1024, 'y') + ".mp3"},
    };
    std::mt19937 random(77);
    for (int i = 0; i < 5; ++i) {
        std::string bytes;
        for (auto n = 1 + random() % 4000; n > 0; --n)
            bytes += static_cast<char>(random() % 5 == 0 ? "\r\n\x1A\\ "[random() % 5] : random() % 256);
        if (!StartsWithAMark(bytes))
            files.emplace_back("random bytes " + std::to_string(i), bytes);
    }
    for (const auto& [what, bytes] : files) {
        SCOPED_TRACE(what);
        const Strings lines = LinesOf(bytes);
        WritePlaylist(bytes);
        auto& player = Start();
        EXPECT_EQ(player.Rows().size(), lines.size());
        EXPECT_EQ(player.Close(), 0u);
        EXPECT_TRUE(SavedPlaylist() == bytes) << "a file the player only read was changed";
    }
}

TEST_F(PlayerTest, AMillionEntryPlaylistOpensAndIsSavedWithoutLoss)
{
    std::string bytes;
    for (int i = 0; i < 1000000; ++i)
        bytes += "C:\\Music\\Artist " + std::to_string(i % 997) + "\\Track " + std::to_string(i) + ".mp3\r\n";
    WritePlaylist(bytes);
    auto& player = Start(std::chrono::seconds(90));
    EXPECT_EQ(SendMessageW(player.Control(200), LB_GETCOUNT, 0, 0), 1000000);
    EXPECT_EQ(player.Close(std::chrono::seconds(60)), 0u);
    EXPECT_TRUE(SavedPlaylist() == bytes) << "the saved file differs from the loaded one";
}

TEST_F(PlayerTest, AFolderNamedPlaylistTxtLeavesTheListEmptyAndIsNotDisturbed)
{
    ASSERT_TRUE(CreateDirectoryW(PlaylistFile().c_str(), nullptr));
    auto& player = Start();
    EXPECT_TRUE(player.Rows().empty());
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_TRUE(GetFileAttributesW(PlaylistFile().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(PlayerTest, APlaylistFileDeletedWhileThePlayerRunsIsWrittenAgainWhenAnInstallerClosesIt)
{
    const std::string bytes = Bytes(Track(L"one.mp3")) + "\r\n" + Bytes(Track(L"two.mp3")) + "\r\n";
    WritePlaylist(bytes);
    auto& player = Start();
    player.Select(0);
    player.Click(kPlay);
    ASSERT_TRUE(DeleteFileW(PlaylistFile().c_str()));
    // What the Restart Manager sends a program it needs closed.
    EXPECT_EQ(player.EndBy(WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP), 0u);
    EXPECT_EQ(SavedPlaylist(), bytes);
}

TEST_F(PlayerTest, APlaylistFileLockedWhileThePlayerClosesKeepsItsContent)
{
    const std::string bytes = Bytes(Track(L"one.mp3")) + "\n";
    WritePlaylist(bytes);
    auto& player = Start();
    const HANDLE held = CreateFileW(PlaylistFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const DWORD code = player.Close();
    CloseHandle(held);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(SavedPlaylist(), bytes);
    EXPECT_EQ(FilesIn(folder_ + L"\\"), L"lirotune.exe playlist.txt") << "no temporary file is left";
}

TEST_F(PlayerTest, TracksThatCannotBeOpenedArePassedOverAndTheMusicGoesOn)
{
    std::wstring deep = folder_;
    while (deep.size() < 280) {
        deep += L"\\a-long-folder-name-for-the-media-service";
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    }
    ASSERT_TRUE(CopyFileW(Track(L"one.mp3").c_str(), (deep + L"\\deep.mp3").c_str(), FALSE));
    const Strings rows = {
        Track(L"truncated.mp3"),
        folder_ + L"\\missing.mp3",
        Track(L"text.mp3"),
        Track(L"empty.mp3"),
        L"C:\\odd\\x.mp3\" type waveaudio alias other.mp3",
        deep + L"\\deep.mp3",
        Track(L"other long.mp3"),
    };
    std::string bytes;
    for (const auto& row : rows)
        bytes += Bytes(row) + "\r\n";
    WritePlaylist(bytes);
    auto& player = Start();

    // Play on a missing file plays the next track that opens, and only its
    // name is ever shown.
    player.Select(1);
    player.Click(kPlay);
    EXPECT_TRUE(WaitUntil([&] { return player.Text(kNowPlaying) == L"deep.mp3"; }, 5s));
    EXPECT_EQ(player.Selection(), 5);
    player.Click(kStop);

    // A track cut short still ends with a report, and the broken rows after
    // it are passed over at that real end of track.
    player.Select(0);
    player.Click(kPlay);
    EXPECT_EQ(player.Text(kNowPlaying), L"truncated.mp3");
    EXPECT_TRUE(WaitUntil([&] { return player.Text(kNowPlaying) == L"deep.mp3"; }, 8s));
    EXPECT_EQ(player.Selection(), 5);
    EXPECT_EQ(player.Rows().size(), rows.size());
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(SavedPlaylist(), bytes);
}

TEST_F(PlayerTest, TwoRoundsOfTwentyTracksLeaveNoObjectsOrMemoryBehind)
{
    std::string bytes;
    for (int n = 1; n <= 20; ++n)
        bytes += Bytes(Track(L"soak\\" + std::to_wstring(n) + L".mp3")) + "\r\n";
    WritePlaylist(bytes);
    auto& player = Start();
    player.Select(0);
    player.Click(kPlay);

    // Counts every change of track by auto-advance.
    int advances = 0;
    std::wstring showing = player.Text(kNowPlaying);
    const auto advancedTo = [&](int wanted) {
        return WaitUntil([&] {
            const std::wstring now = player.Text(kNowPlaying);
            if (now != showing) {
                showing = now;
                ++advances;
            }
            return advances >= wanted;
        }, std::chrono::seconds(5 * wanted));
    };

    // Measured once the media service has loaded everything it keeps.
    ASSERT_TRUE(advancedTo(2));
    const ProbeAnswer before = ProbeProcess(player.window(), player.threadId(), 0);
    ASSERT_TRUE(before.answered);
    ASSERT_TRUE(advancedTo(40)) << "only " << advances << " tracks followed each other";
    const ProbeAnswer after = ProbeProcess(player.window(), player.threadId(), 0);
    ASSERT_TRUE(after.answered);

    std::printf("after 2 and 40 tracks: GDI objects %lu -> %lu, windows %lu -> %lu, private memory %llu -> %llu KiB\n",
                before.gdiObjects, after.gdiObjects, before.userObjects, after.userObjects,
                before.privateBytes / 1024, after.privateBytes / 1024);
    EXPECT_LE(after.gdiObjects, before.gdiObjects + 8) << "GDI objects " << before.gdiObjects << " -> " << after.gdiObjects;
    EXPECT_LE(after.userObjects, before.userObjects + 2) << "windows " << before.userObjects << " -> " << after.userObjects;
    EXPECT_LE(after.privateBytes, before.privateBytes + 8 * 1024 * 1024)
        << "private memory " << before.privateBytes << " -> " << after.privateBytes;
    EXPECT_GT(before.gdiObjects, 0u);
    EXPECT_GT(before.privateBytes, 0u);

    player.Click(kStop);
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(SavedPlaylist(), bytes) << "the playlist file is unchanged";
}

}  // namespace
