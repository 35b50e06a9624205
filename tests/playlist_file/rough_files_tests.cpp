// Playlist files as they turn up in the wild: edited by hand, copied between
// machines, cut short by crashes. Whatever is read is kept: a file the
// player only read is left as it is, and a save gives back the bytes read.
#include <random>
#include <string>

#include "playlist_file/playlist_file_fixture.h"
#include "support/playlist_lines.h"
#include "playlist/shared_playlist.h"
#include "playlist/playlist_text.h"

namespace {

std::string RandomFile(std::mt19937& random)
{
    const char likely[] = {'\r', '\n', '\x1A', '\0', '\\', '/', '"', ' ', '\xEF', '\xBB', '\xBF', '\xC3', '\xA9'};
    std::string bytes;
    const char* marks[] = {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    if (random() % 4 == 0)
        bytes = marks[random() % 3];
    for (auto n = random() % 3000; n > 0; --n)
        bytes += random() % 3 ? static_cast<char>(random() % 256) : likely[random() % sizeof likely];
    return bytes;
}

TEST_F(PlaylistFileTest, RandomBytesLoadWithoutHarmAndAreLeftAsTheyWereOrSavedBackAsRead)
{
    std::mt19937 random(4242);
    for (int file = 0; file < 300; ++file) {
        SCOPED_TRACE(testing::Message() << "file " << file);
        const std::string bytes = RandomFile(random);
        const Strings loaded = LoadFrom(bytes);
        ASSERT_EQ(window.Rows().size(), loaded.size());
        const bool lines = EncodingOf(bytes) == FileEncoding::Lines;
        if (lines) {
            ASSERT_EQ(loaded, LinesOf(bytes));
        }

        SavePlaylistAtExit(window.handle());
        ASSERT_TRUE(ReadBytes(kPlaylistFile) == bytes) << "nothing new: the file is left as it was";
        DeleteFileW(kPlaylistFile.c_str());
        SavePlaylistAtExit(window.handle());
        Playlist::Clear(window.list());
        LoadPlaylist(window.handle());
        // Lines with NUL bytes are no text: written again, they may read as UTF-16.
        if (!lines || bytes.find('\0') == std::string::npos) {
            ASSERT_EQ(StringsOf(Playlist::Entries()), loaded) << "a file gone is written again, and reads as it did";
        }
    }
}

TEST_F(PlaylistFileTest, ATenMegabyteLineIsOneEntryBetweenItsNeighbours)
{
    const std::string line = "C:\\" + std::string(10 * 1024 * 1024, 'x') + ".mp3";
    const Strings loaded = LoadFrom("a.mp3\r\n" + line + "\r\nb.mp3");
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(loaded[1].size(), line.size());
    EXPECT_EQ(loaded[0], L"a.mp3");
    EXPECT_EQ(loaded[2], L"b.mp3");
    SavePlaylist();
    EXPECT_EQ(ReadBytes(kPlaylistFile), "a.mp3\r\n" + line + "\r\nb.mp3\r\n");
}

TEST_F(PlaylistFileTest, AMillionEntriesLoadInOrderAndSaveBackUnchanged)
{
    std::string bytes;
    for (int i = 0; i < 1000000; ++i)
        bytes += "C:\\Music\\Artist " + std::to_string(i % 1000) + "\\Album\\Track " + std::to_string(i) + ".mp3\r\n";
    const Strings loaded = LoadFrom(bytes);
    ASSERT_EQ(loaded.size(), 1000000u);
    EXPECT_EQ(SendMessageW(window.list(), LB_GETCOUNT, 0, 0), 1000000);
    EXPECT_EQ(loaded[999999], L"C:\\Music\\Artist 999\\Album\\Track 999999.mp3");
    SavePlaylist();
    EXPECT_TRUE(ReadBytes(kPlaylistFile) == bytes) << "the saved file differs from the loaded one";
}

TEST_F(PlaylistFileTest, AFileThatCannotBeReadIsNeverReplacedAndIsReadAtTheNextActivation)
{
    WriteBytes(kPlaylistFile, "C:\\a.mp3\r\n");
    // Another program holds the file from before the start and lets no one
    // read it, though Windows would let the file be replaced.
    const HANDLE held = CreateFileW(kPlaylistFile.c_str(), GENERIC_READ, FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    LoadPlaylist(window.handle());
    const SaveResult result = SaveWithAdditions(window.handle(), [&] { Add({L"C:\\b.mp3"}); });
    EXPECT_TRUE(result.unreadable);
    EXPECT_EQ(result.error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\a.mp3\r\n") << "the file it could not read was not replaced";
    ShowPlaylistChanges(window.handle());
    EXPECT_EQ(StringsOf(Playlist::Entries()), (Strings{L"C:\\a.mp3", L"C:\\b.mp3"}));
    SavePlaylistAtExit(window.handle());
    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\a.mp3\r\nC:\\b.mp3\r\n");
}

}  // namespace
