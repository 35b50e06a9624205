#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "playlist/dialog_result.h"
#include "playlist/display_name.h"
#include "playlist/playlist.h"
#include "support/test_window.h"

namespace {

using Strings = std::vector<std::wstring>;

Strings Entries()
{
    Strings entries;
    for (std::size_t i = 0; i < Playlist::Count(); ++i)
        entries.emplace_back(Playlist::At(i));
    return entries;
}

class PlaylistTest : public ::testing::Test {
protected:
    void SetUp() override { Playlist::Clear(window.list()); }
    TestWindow window;
};

TEST(DisplayNameTest, ShowsTheTextAfterTheLastSeparatorOfEitherKind)
{
    const struct {
        const wchar_t* path;
        const wchar_t* name;
    } cases[] = {
        {L"C:\\Music\\a.mp3", L"a.mp3"},
        {L"C:/Music/b.mp3", L"b.mp3"},
        {L"C:\\Music/x\\y.mp3", L"y.mp3"},
        {L"C:\\Music\\x/y.mp3", L"y.mp3"},
        {L"song.mp3", L"song.mp3"},
        {L"C:\\Music\\", L""},
        {L"", L""},
        {L"\\\\server\\share\\  spaced name .mp3", L"  spaced name .mp3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(DisplayName(c.path), c.name);
    }
}

TEST_F(PlaylistTest, ASingleChosenFileIsAddedWithItsNameAsTheRow)
{
    const wchar_t buffer[] = L"C:\\Music\\a.mp3\0";
    AddFromDialogResult(window.handle(), buffer);
    EXPECT_EQ(Entries(), Strings{L"C:\\Music\\a.mp3"});
    EXPECT_EQ(window.Rows(), Strings{L"a.mp3"});
}

TEST_F(PlaylistTest, SeveralChosenFilesAreJoinedToTheirFolderInTheDialogsOrder)
{
    const wchar_t buffer[] = L"C:\\Music\0b.mp3\0a.mp3\0c d.mp3\0";
    AddFromDialogResult(window.handle(), buffer);
    EXPECT_EQ(Entries(), (Strings{L"C:\\Music\\b.mp3", L"C:\\Music\\a.mp3", L"C:\\Music\\c d.mp3"}));
    EXPECT_EQ(window.Rows(), (Strings{L"b.mp3", L"a.mp3", L"c d.mp3"}));
}

TEST_F(PlaylistTest, FilesChosenAtADriveRootKeepTheDoubledBackslash)
{
    const wchar_t buffer[] = L"C:\\\0a.mp3\0b.mp3\0";
    AddFromDialogResult(window.handle(), buffer);
    EXPECT_EQ(Entries(), (Strings{L"C:\\\\a.mp3", L"C:\\\\b.mp3"}));
    EXPECT_EQ(window.Rows(), (Strings{L"a.mp3", L"b.mp3"}));
}

TEST_F(PlaylistTest, AddingTheSameFileTwiceGivesTwoEntriesAndTwoRows)
{
    const wchar_t buffer[] = L"C:\\Music\\a.mp3\0";
    AddFromDialogResult(window.handle(), buffer);
    AddFromDialogResult(window.handle(), buffer);
    EXPECT_EQ(Entries(), (Strings{L"C:\\Music\\a.mp3", L"C:\\Music\\a.mp3"}));
    EXPECT_EQ(window.Rows(), (Strings{L"a.mp3", L"a.mp3"}));
}

TEST_F(PlaylistTest, ClearEmptiesBothThePlaylistAndTheListBox)
{
    Playlist::Append(window.list(), L"C:\\a.mp3", 3);
    Playlist::Clear(window.list());
    EXPECT_EQ(Playlist::Count(), 0u);
    EXPECT_TRUE(window.Rows().empty());
}

TEST_F(PlaylistTest, EveryRowShowsItsEntryAfterAnySequenceOfAppends)
{
    std::mt19937 random(20261209);
    // A folder of 30,000 characters puts paths across the ends of the blocks
    // the playlist keeps them in, at a different place each time.
    const Strings folders = {L"C:\\Music", L"D:\\", L"E:/mixed\\folder", L"\\\\?\\F:\\" + std::wstring(30001, L'n')};
    const Strings names = {L"a.mp3", L"b.mp3", L"\u00e9t\u00e9.mp3", L"\u041f\u0435\u0441\u043d\u044f.mp3"};
    Strings added;
    for (int step = 0; step < 200; ++step) {
        const auto& folder = folders[random() % folders.size()];
        Strings chosen = {names[random() % names.size()]};
        const bool several = random() % 2;
        if (several) {
            chosen.clear();
            for (unsigned n = 1 + random() % 3; n > 0; --n)
                chosen.push_back(names[random() % names.size()]);
        }
        std::wstring buffer = several ? folder + L'\0' : L"";
        for (const auto& name : chosen) {
            buffer += (several ? name : folder + L'\\' + name) + L'\0';
            added.push_back(folder + L'\\' + name);
        }
        buffer += L'\0';
        AddFromDialogResult(window.handle(), buffer.c_str());
    }
    EXPECT_TRUE(Entries() == added) << "a path was changed by those added after it";
    const Strings rows = window.Rows();
    ASSERT_EQ(rows.size(), Playlist::Count());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(std::wstring(Playlist::At(i)));
        EXPECT_EQ(rows[i], DisplayName(Playlist::At(i)));
    }
}

}  // namespace
