#include <gtest/gtest.h>

#include <windows.h>

#include <new>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/ansi_code_page.h"
#include "platform/files.h"
#include "platform/long_path.h"
#include "playlist/display_name.h"
#include "playlist/playlist.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_text.h"
#include "playlist/text_encodings.h"
#include "playlist/shared_playlist.h"
#include "playlist/track_location.h"
#include "platform/controls.h"
#include "platform/file_lock.h"
#include "playlist_file/playlist_file_fixture.h"
#include "support/files.h"
#include "support/saved_back.h"

namespace {

TEST(PlaylistPathTest, TheFileSitsInTheExecutablesFolder)
{
    EXPECT_EQ(PlaylistPathBeside(L"C:\\Apps\\Player\\x.exe"), L"C:\\Apps\\Player\\playlist.txt");
    EXPECT_EQ(PlaylistPathBeside(L"Z:/apps/x.exe"), L"Z:/apps/playlist.txt");
    EXPECT_EQ(PlaylistPathBeside(L"x.exe"), L"playlist.txt");
    EXPECT_EQ(GetPlaylistPath(), kPlaylistFile);
}

TEST(PlaylistPathTest, ALineThatIsNoFullPathPlaysFromThePlaylistsFolder)
{
    const struct {
        const wchar_t *folder, *line, *plays;
    } cases[] = {
        {LR"(E:\Player\)", L"a.mp3", LR"(E:\Player\a.mp3)"},
        {LR"(E:\Player)", LR"(Music\b.mp3)", LR"(E:\Player\Music\b.mp3)"},
        {LR"(E:\Player\)", LR"(..\Music\c.mp3)", LR"(E:\Player\..\Music\c.mp3)"},
        {LR"(E:\Apps\Player\)", LR"(\Music\a.mp3)", LR"(E:\Music\a.mp3)"},
        {LR"(\\pc\share\Player\)", L"/Music/a.mp3", LR"(\\pc\share\Music/a.mp3)"},
        {LR"(\\?\UNC\pc\share\Player\)", LR"(\a.mp3)", LR"(\\?\UNC\pc\share\a.mp3)"},
        {LR"(E:\Player\)", L"e:a.mp3", LR"(E:\Player\a.mp3)"},
        {LR"(E:\Player\)", L"D:a.mp3", LR"(D:\a.mp3)"},
        {LR"(E:\Player\)", LR"(D:\Music\a.mp3)", LR"(D:\Music\a.mp3)"},
        {LR"(E:\Player\)", LR"(\\server\share\a.mp3)", LR"(\\server\share\a.mp3)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.line)));
        EXPECT_EQ(TrackPath(c.line, c.folder), c.plays);
    }
}

TEST(PlaylistPathTest, FileCallsGetTheLongFormOfALongAbsolutePathOnly)
{
    const std::wstring folders(250, L'x');
    const struct {
        std::wstring path, forFileCalls;
    } cases[] = {
        {L"C:\\Apps\\playlist.txt", L"C:\\Apps\\playlist.txt"},
        {L"C:\\" + folders + L"\\playlist.txt", L"\\\\?\\C:\\" + folders + L"\\playlist.txt"},
        {L"C:/" + folders + L"/playlist.txt", L"\\\\?\\C:\\" + folders + L"\\playlist.txt"},
        {L"\\\\server\\share\\" + folders, L"\\\\?\\UNC\\server\\share\\" + folders},
        {L"\\\\?\\C:\\" + folders, L"\\\\?\\C:\\" + folders},
        {folders + L"\\playlist.txt", folders + L"\\playlist.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(ExtendedLengthPath(c.path), c.forFileCalls);
    }
}

TEST_F(PlaylistFileTest, SavingWritesBesideTheExecutableWhateverTheWorkingDirectory)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring elsewhere = std::wstring(temp) + L"lirotune-cwd-test\\";
    CreateDirectoryW(elsewhere.c_str(), nullptr);
    SetCurrentDirectoryW(elsewhere.c_str());

    Add({L"C:\\Music\\a.mp3"});
    SavePlaylist();
    SetCurrentDirectoryW(kFolder.c_str());

    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\Music\\a.mp3\r\n");
    EXPECT_FALSE(FileExists(elsewhere + L"playlist.txt"));
    RemoveDirectoryW(elsewhere.c_str());
}

TEST_F(PlaylistFileTest, AMissingFileLeavesThePlaylistAsItWasUnlessASaveWasCutShortBeforeItsRename)
{
    Add({L"C:\\kept.mp3"});
    LoadPlaylist(window.handle());
    EXPECT_EQ(StringsOf(Playlist::Entries()), Strings{L"C:\\kept.mp3"});
    EXPECT_EQ(window.Rows(), Strings{L"kept.mp3"});

    // Two copies' saves cut short on a FAT drive: the newest file comes back.
    const std::wstring older = kPlaylistFile + L".12.tmp", newer = kPlaylistFile + L".34.tmp";
    WriteBytes(older, "C:\\older.mp3\r\n");
    WriteBytes(newer, "C:\\newer.mp3\r\n");
    const FILETIME longAgo = {0, 0x01D00000};
    const HANDLE file = CreateFileW(older.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &longAgo);
    CloseHandle(file);
    LoadPlaylist(window.handle());
    EXPECT_EQ(StringsOf(Playlist::Entries()), Strings{L"C:\\newer.mp3"});
    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\newer.mp3\r\n");
    SaveWithAdditions(window.handle(), [&] { Add({L"C:\\b.mp3"}); });
    EXPECT_EQ(FilesIn(kFolder), L"playlist.txt playlist_file_tests.exe") << "with the file in place, leftovers go";
}

TEST_F(PlaylistFileTest, AFolderNamedLikeTheFileLeavesThePlaylistAsItWas)
{
    Add({L"C:\\kept.mp3"});
    CreateDirectoryW(kPlaylistFile.c_str(), nullptr);
    LoadPlaylist(window.handle());
    SavePlaylist();
    RemoveDirectoryW(kPlaylistFile.c_str());
    EXPECT_EQ(StringsOf(Playlist::Entries()), Strings{L"C:\\kept.mp3"});
    EXPECT_EQ(FilesIn(kFolder), L"playlist_file_tests.exe") << "no temporary file is left";
}

TEST_F(PlaylistFileTest, AnOpenedFileReplacesThePlaylistEvenWhenItIsEmpty)
{
    Add({L"C:\\old.mp3"});
    EXPECT_TRUE(LoadFrom("").empty());
    EXPECT_TRUE(window.Rows().empty());
}

TEST_F(PlaylistFileTest, LoadingShowsOneRowPerLineInFileOrder)
{
    EXPECT_EQ(LoadFrom("C:\\Music\\a.mp3\r\nD:/b.mp3\r\nplain.mp3\r\n"),
              (Strings{L"C:\\Music\\a.mp3", L"D:/b.mp3", L"plain.mp3"}));
    EXPECT_EQ(window.Rows(), (Strings{L"a.mp3", L"b.mp3", L"plain.mp3"}));
}

TEST_F(PlaylistFileTest, LinesAreReadAsTheyStandInTheFile)
{
    const struct {
        const char* what;
        std::string bytes;
        Strings paths;
    } cases[] = {
        {"blank lines are skipped", "\r\na.mp3\r\n\r\n\n\nb.mp3\r\n\r\n", {L"a.mp3", L"b.mp3"}},
        {"LF alone ends a line", "a.mp3\nb.mp3\n", {L"a.mp3", L"b.mp3"}},
        {"a last line without its end", "a.mp3\r\nb.mp3", {L"a.mp3", L"b.mp3"}},
        {"nothing after 0x1A", "a.mp3\r\nb.m\x1Ap3\r\nc.mp3\r\n", {L"a.mp3", L"b.m"}},
        {"spaces are kept", "  a b.mp3 \r\n", {L"  a b.mp3 "}},
        {"only the CR before LF goes", "a\rb.mp3\r\r\nc.mp3\r", {L"a\rb.mp3\r", L"c.mp3\r"}},
        {"NUL bytes stay in the path", std::string("a\0b.mp3\r\n", 9), {std::wstring(L"a\0b.mp3", 7)}},
        {"no NUL and a line end before the 0x1A: lines, not UTF-16", std::string("ab\n\x1A" "c\0\n\0", 8),
         {L"ab"}},
        {"bytes are characters of the same value", "C:\\\xE9t\xE9\\\xFF.mp3\r\n", {L"C:\\\u00e9t\u00e9\\\u00ff.mp3"}},
        {"ANSI: Windows-1252 quotes and dashes", "C:\\Don\x92t Stop \x96 Live.mp3\r\n", {L"C:\\Don\u2019t Stop \u2013 Live.mp3"}},
        {"ANSI: bytes Windows-1252 leaves undefined", "C:\\\x81\x9D \x92.mp3\r\n", {L"C:\\\u0081\u009d \u2019.mp3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LoadFrom(c.bytes), c.paths);
    }
}

TEST_F(PlaylistFileTest, SavingWritesEachPathWithCrLfAndNothingElse)
{
    WriteBytes(kPlaylistFile + L".4242.tmp", "left by a copy ended in the middle of a save");
    SavePlaylist();
    EXPECT_EQ(ReadBytes(kPlaylistFile), "") << "an empty playlist gives an empty file";

    Add({L"C:\\Music\\a.mp3", L"D:/b c.mp3", L"C:\\Music\\a.mp3"});
    SavePlaylist();
    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\Music\\a.mp3\r\nD:/b c.mp3\r\nC:\\Music\\a.mp3\r\n");
    EXPECT_EQ(FilesIn(kFolder), L"playlist.txt playlist_file_tests.exe") << "no temporary file is left";
}

TEST_F(PlaylistFileTest, BlankLinesAreGoneAfterTheNextSave)
{
    LoadFrom("a.mp3\n\n\nb.mp3");
    SavePlaylist();
    EXPECT_EQ(ReadBytes(kPlaylistFile), "a.mp3\r\nb.mp3\r\n");
}

TEST_F(PlaylistFileTest, AnAccentedLatinPathRoundTripsByteForByte)
{
    // Western systems read every byte from 0xA0 on as the character of the
    // same value, whether the file is Latin-1 or Windows-1252.
    std::string everyLatinByte;
    std::wstring everyLatinCharacter;
    for (int b = 0xA0; b <= 0xFF; ++b) {
        everyLatinByte += static_cast<char>(b);
        everyLatinCharacter += static_cast<wchar_t>(b);
    }
    const std::string bytes = "C:\\M\xFAsica\\Caf\xE9 \xC0 la cr\xE8me.mp3\r\nC:\\" + everyLatinByte + ".mp3\r\n";
    EXPECT_EQ(LoadFrom(bytes), (Strings{L"C:\\M\u00fasica\\Caf\u00e9 \u00c0 la cr\u00e8me.mp3",
                                        L"C:\\" + everyLatinCharacter + L".mp3"}));
    SavePlaylist();
    EXPECT_EQ(ReadBytes(kPlaylistFile), bytes);

    // Written by cmd's "dir > playlist.txt" in the console's code page (437
    // here), where 0x82 is \u00e9, and \u201a in the system's: the file that
    // exists decides, and where both or neither do, the system's reading.
    const std::wstring console = L"caf\u00e9.mp3", both = L"b\u201a.mp3", neither = L"n\u201a.mp3";
    const Strings files = {console, both, L"b\u00e9.mp3"};
    for (const std::wstring& name : files)
        WriteBytes(kFolder + name, "");
    const std::string dir = "caf\x82.mp3\r\nb\x82.mp3\r\nn\x82.mp3\r\n";
    LoadFrom(dir);
    window.Select(2);
    EXPECT_EQ(PathToOpen(window.list(), 0), kFolder + console);
    EXPECT_EQ(PathToOpen(window.list(), 1), kFolder + both);
    EXPECT_EQ(PathToOpen(window.list(), 2), kFolder + neither);
    EXPECT_EQ(StringsOf(Playlist::Entries()), (Strings{console, both, neither}));
    EXPECT_EQ(window.Rows(), (Strings{console, both, neither}));
    EXPECT_EQ(window.Selection(), 2);
    Add({L"C:\\added.mp3"});
    SavePlaylist();
    EXPECT_EQ(ReadBytes(kPlaylistFile), dir + "C:\\added.mp3\r\n") << "the line keeps its bytes";
    for (const std::wstring& name : files)
        DeleteFileW((kFolder + name).c_str());
}

TEST_F(PlaylistFileTest, PathsBeyondLatinAreSavedAsUtf8AndReadBack)
{
    const Strings paths = {
        L"C:\\Caf\u00e9\\a.mp3",
        L"C:\\\u041c\u0443\u0437\u044b\u043a\u0430\\\u041f\u0435\u0441\u043d\u044f.mp3",
        L"C:\\Music\\\U0001F3B5 party.mp3",
        L"C:\\odd\\\xD83D lone high.mp3",
        L"C:\\odd\\lone low \xDC00.mp3",
        L"C:\\odd\\reversed \xDC00\xD800.mp3",
    };
    Add(paths);
    SavePlaylist();
    const std::string bytes = ReadBytes(kPlaylistFile);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(bytes.find("C:\\Caf\xC3\xA9\\a.mp3\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\xF0\x9F\x8E\xB5 party"), std::string::npos);
    EXPECT_NE(bytes.find("\\\xED\xA0\xBD lone high"), std::string::npos);

    Playlist::Clear(window.list());
    LoadPlaylist(window.handle());
    EXPECT_EQ(StringsOf(Playlist::Entries()), paths);
    EXPECT_EQ(window.Rows()[1], L"\u041f\u0435\u0441\u043d\u044f.mp3");
}

TEST_F(PlaylistFileTest, InvalidUtf8InAMarkedFileReadsByteForCharacter)
{
    const std::string bytes =
        "\xEF\xBB\xBF"
        "ok \xC3\xA9.mp3\r\n"
        "cut \xC3\r\n"
        "stray \x80\xBF.mp3\n"
        "overlong \xC0\xAF \xE0\x80\xAF.mp3\n"
        "beyond \xF4\x90\x80\x80.mp3\n"
        "short \xE2\x82";
    EXPECT_EQ(LoadFrom(bytes), (Strings{
                                   L"ok \u00e9.mp3",
                                   L"cut \u00c3",
                                   L"stray \u0080\u00bf.mp3",
                                   L"overlong \u00c0\u00af \u00e0\u0080\u00af.mp3",
                                   L"beyond \u00f4\u0090\u0080\u0080.mp3",
                                   L"short \u00e2\u0082",
                               }));
}

TEST_F(PlaylistFileTest, EveryEncodingNotepadWritesReadsAsTheSamePaths)
{
    const std::wstring lines = L"C:\\Caf\u00e9\\a.mp3\r\n\r\nC:\\\u041f\u0435\u0441\u043d\u044f.mp3\nC:\\\U0001F3B5 x.mp3\r\n";
    const Strings paths = {L"C:\\Caf\u00e9\\a.mp3", L"C:\\\u041f\u0435\u0441\u043d\u044f.mp3",
                           L"C:\\\U0001F3B5 x.mp3"};
    const struct {
        const char* what;
        std::string bytes;
        Strings paths;
    } cases[] = {
        {"UTF-8 without a mark", "C:\\Caf\xC3\xA9\\a.mp3\r\n\r\nC:\\\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F.mp3\n"
                                 "C:\\\xF0\x9F\x8E\xB5 x.mp3\r\n", paths},
        {"UTF-16 LE", "\xFF\xFE" + Utf16(lines, false), paths},
        {"UTF-16 BE", "\xFE\xFF" + Utf16(lines, true), paths},
        {"UTF-16 LE: a lone last byte, 0x1A, a CR not before LF, unpaired surrogates",
         "\xFF\xFE" + Utf16(L"a\rb\xDC00.mp3\r\n\xD800\n\x1A" L"c.mp3", false) + "x",
         {L"a\rb\xDC00.mp3", L"\xD800"}},
        {"no mark: each line decides on its own",
         "C:\\\xE9t\xE9.mp3\r\nC:\\\xC3\xA9t\xC3\xA9.mp3\r\nC:\\\xC3\xA9 \xE9.mp3\r\nC:\\\xED\xA0\x80.mp3\r\n",
         {L"C:\\\u00e9t\u00e9.mp3", L"C:\\\u00e9t\u00e9.mp3", L"C:\\\u00c3\u00a9 \u00e9.mp3", L"C:\\\u00ed\u00a0\u20ac.mp3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LoadFrom(c.bytes), c.paths);
    }
}

TEST_F(PlaylistFileTest, PathsThatOneByteACharacterWouldChangeAreSavedAsUtf8AndReadBack)
{
    const Strings cases[] = {
        {L"\u00ef\u00bb\u00bfodd.mp3", L"b.mp3"},
        {L"\u00ff\u00feodd.mp3"},
        {L"\u00fe\u00ffodd.mp3"},
        {L"a.mp3", L"C:\\\u00c3\u00a9.mp3"},
    };
    for (const auto& paths : cases) {
        SCOPED_TRACE(testing::PrintToString(paths));
        LoadFrom("");
        Add(paths);
        SavePlaylist();
        EXPECT_EQ(ReadBytes(kPlaylistFile).substr(0, 3), "\xEF\xBB\xBF");
        EXPECT_EQ(LoadFrom(ReadBytes(kPlaylistFile)), paths);
    }
}

TEST_F(PlaylistFileTest, AReadOnlyFileIsLeftUntouchedBySaving)
{
    WriteBytes(kPlaylistFile, "C:\\old.mp3\r\n");
    SetFileAttributesW(kPlaylistFile.c_str(), FILE_ATTRIBUTE_READONLY);
    Add({L"C:\\new.mp3"});
    EXPECT_EQ(SavePlaylist(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\old.mp3\r\n");
    EXPECT_EQ(FilesIn(kFolder), L"playlist.txt playlist_file_tests.exe") << "no temporary file is left";
}

TEST_F(PlaylistFileTest, AFileAnotherProgramHoldsLockedIsLeftUntouchedBySaving)
{
    LoadFrom("C:\\old.mp3\r\n");
    const HANDLE locked = CreateFileW(kPlaylistFile.c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    Add({L"C:\\new.mp3"});
    EXPECT_NE(SavePlaylist(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(locked);
    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\old.mp3\r\n");
    EXPECT_EQ(FilesIn(kFolder), L"playlist.txt playlist_file_tests.exe") << "no temporary file is left";
}

TEST_F(PlaylistFileTest, AWriteThatFailsPartwayLeavesTheOldFileAndNoTemporaryFile)
{
    WriteBytes(kPlaylistFile, "C:\\old.mp3\r\n");
    // As when the disk fills up after the first piece.
    const DWORD error = ReplaceFileContent(kPlaylistFile, [](const ByteWriter& write) {
        return write("C:\\new") && false;
    });
    EXPECT_NE(error, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\old.mp3\r\n");
    EXPECT_EQ(FilesIn(kFolder), L"playlist.txt playlist_file_tests.exe");

    // The only complete copy, left by a save cut short before its rename,
    // outlives a save that fails: the next start takes it.
    DeleteFileW(kPlaylistFile.c_str());
    WriteBytes(kPlaylistFile + L".12.tmp", "C:\\complete.mp3\r\n");
    ReplaceFileContent(kPlaylistFile, [](const ByteWriter& write) { return write("C:\\new") && false; });
    EXPECT_EQ(FilesIn(kFolder), L"playlist.txt.12.tmp playlist_file_tests.exe") << "the leftover was deleted";
    LoadPlaylist(window.handle());
    EXPECT_EQ(StringsOf(Playlist::Entries()), Strings{L"C:\\complete.mp3"});
}

TEST_F(PlaylistFileTest, AnEditOfAnyByteThatKeepsTheSizeIsSeen)
{
    ContentDigest digest;
    digest.Add("a.mp3\nb.");
    digest.Add("mp3\n");
    for (const std::string edited : {"a.mp3\nb.mp3\n", "b.mp3\nb.mp3\n", "a.mp3\nb.mp4\n", "a.mp3\nb.mp3\r"}) {
        SCOPED_TRACE(edited);
        WriteBytes(kPlaylistFile, edited);
        EXPECT_EQ(CompareFileContent(kPlaylistFile, digest) == FileComparison::Same, edited == "a.mp3\nb.mp3\n")
            << "only the bytes the digest was made from are the same";
    }
}

TEST_F(PlaylistFileTest, ASaveCutShortByAnExceptionLeavesNothingOpenAndTheNextSaveWorks)
{
    LoadFrom("C:\\old.mp3\r\n");
    // As when encoding a long playlist runs out of memory.
    EXPECT_THROW(ReplaceFileContent(kPlaylistFile, [](const ByteWriter& write) -> bool {
                     write("C:\\new");
                     throw std::bad_alloc();
                 }),
                 std::bad_alloc);
    EXPECT_EQ(FilesIn(kFolder), L"playlist.txt playlist_file_tests.exe") << "no temporary file is left";
    Add({L"C:\\new.mp3"});
    EXPECT_EQ(SavePlaylist(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\old.mp3\r\nC:\\new.mp3\r\n");
}

TEST_F(PlaylistFileTest, AFileAnotherProgramHoldsForAMomentIsReadAndReplacedOnceItLetsGo)
{
    LoadFrom("C:\\old.mp3\r\n");
    // As a virus scanner does when it sees the file change.
    const HANDLE held = CreateFileW(kPlaylistFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread scanner([held] {
        Sleep(300);
        CloseHandle(held);
    });
    Add({L"C:\\new.mp3"});
    EXPECT_EQ(SavePlaylist(), static_cast<DWORD>(ERROR_SUCCESS));
    scanner.join();
    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\old.mp3\r\nC:\\new.mp3\r\n");

    // Someone else's change, read while the scanner holds it.
    WriteBytes(kPlaylistFile, "C:\\theirs.mp3\r\n");
    const HANDLE again = CreateFileW(kPlaylistFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    std::thread rescan([again] {
        Sleep(300);
        CloseHandle(again);
    });
    EXPECT_EQ(SaveWithAdditions(window.handle(), [&] { Add({L"C:\\more.mp3"}); }).error,
              static_cast<DWORD>(ERROR_SUCCESS));
    rescan.join();
    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\theirs.mp3\r\nC:\\more.mp3\r\n");
}

TEST_F(PlaylistFileTest, AFileThatVanishedSinceLoadingIsWrittenAfresh)
{
    LoadFrom("C:\\a.mp3\r\n");
    DeleteFileW(kPlaylistFile.c_str());
    SaveWithAdditions(window.handle(), [&] { Add({L"C:\\b.mp3"}); });
    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\a.mp3\r\nC:\\b.mp3\r\n");
}

// Another program writes the file without changing its size or time, as a
// one-letter edit on a FAT drive (times kept to 2 s) does.
void EditKeepingSizeAndTime(const std::wstring& path, const std::string& bytes)
{
    FILETIME written;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    WriteBytes(path, bytes);
    file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
}

TEST_F(PlaylistFileTest, TheSaveAtExitNeverOverwritesAChangeItDidNotMake)
{
    const struct {
        const char* what;
        void (*meanwhile)();
        std::string saved;
    } cases[] = {
        {"the same bytes: left exactly as they are", [] {}, "a.mp3\nb.mp3\n"},
        {"one byte changed, same size and time: kept", [] { EditKeepingSizeAndTime(kPlaylistFile, "a.mp3\nc.mp3\n"); },
         "a.mp3\nc.mp3\n"},
        {"missing: written again", [] { DeleteFileW(kPlaylistFile.c_str()); }, "a.mp3\r\nb.mp3\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LoadFrom("a.mp3\nb.mp3\n");
        c.meanwhile();
        ShowPlaylistChanges(window.handle());
        EXPECT_EQ(StringsOf(Playlist::Entries()), (Strings{L"a.mp3", L"b.mp3"})) << "size and time alone read nothing";
        SavePlaylistAtExit(window.handle());
        EXPECT_EQ(ReadBytes(kPlaylistFile), c.saved);
    }
}

TEST_F(PlaylistFileTest, AddingMergesSomeoneElsesChangeAndTheSelectionStaysWhereTheAdvanceGoesOn)
{
    const struct {
        const char* what;
        bool whileSaving;  // after the save looked at the file, before the new one takes its place
        std::string edited;
        int selected;
    } cases[] = {
        {"a line above b: still on b", false, "C:\\new.mp3\r\nC:\\a.mp3\r\nC:\\b.mp3\r\nC:\\c.mp3\r\n", 2},
        {"b out: on a, before c", false, "C:\\a.mp3\r\nC:\\c.mp3\r\n", 0},
        {"a and b out: none, before c", false, "C:\\c.mp3\r\n", -1},
        {"a line added while saving: merged", true, "C:\\a.mp3\r\nC:\\b.mp3\r\nC:\\c.mp3\r\nC:\\theirs.mp3\r\n", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LoadFrom("C:\\a.mp3\r\nC:\\b.mp3\r\nC:\\c.mp3\r\n");
        SelectRow(window.list(), 1);
        if (!c.whileSaving)
            WriteBytes(kPlaylistFile, c.edited);
        EXPECT_EQ(SaveWithAdditions(window.handle(), [&] {
                      Add({L"C:\\d.mp3"});
                      if (c.whileSaving)
                          WriteBytes(kPlaylistFile, c.edited);
                  }).error,
                  static_cast<DWORD>(ERROR_SUCCESS));
        EXPECT_EQ(ReadBytes(kPlaylistFile), c.edited + "C:\\d.mp3\r\n");
        EXPECT_EQ(SelectedRow(window.list()), c.selected);
    }
}

TEST_F(PlaylistFileTest, EntriesWhoseSaveFailedSurviveAReloadAndTheExitSaveMergesThem)
{
    LoadFrom("C:\\a.mp3\r\n");
    SetFileAttributesW(kPlaylistFile.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(SaveWithAdditions(window.handle(), [&] { Add({L"C:\\b.mp3"}); }).error,
              static_cast<DWORD>(ERROR_ACCESS_DENIED));
    SetFileAttributesW(kPlaylistFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteBytes(kPlaylistFile, "C:\\x.mp3\r\nC:\\a.mp3\r\n");
    ShowPlaylistChanges(window.handle());
    EXPECT_EQ(StringsOf(Playlist::Entries()), (Strings{L"C:\\x.mp3", L"C:\\a.mp3", L"C:\\b.mp3"}));
    WriteBytes(kPlaylistFile, "C:\\y.mp3\r\n");
    SavePlaylistAtExit(window.handle());
    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\y.mp3\r\nC:\\b.mp3\r\n");
}

TEST_F(PlaylistFileTest, ALockHeldByAnotherCopyFailsTheSaveButOneShutToThisCopyOrLeftByACrashedOneDoesNot)
{
    // A lock that can't be opened at all, as when an elevated copy of an
    // earlier version made it shut to this one (Wine checks no access, so
    // here the name is taken by an object of another kind): the saves go on.
    const HANDLE foreign = CreateEventW(nullptr, FALSE, FALSE, FileLockName(kPlaylistFile).c_str());
    ASSERT_FALSE(FileLock(kPlaylistFile, 0).held() || FileLock(kPlaylistFile, 0).busy());
    EXPECT_EQ(SaveWithAdditions(window.handle(), [&] { Add({L"C:\\x.mp3"}); }).error, static_cast<DWORD>(ERROR_SUCCESS));
    DeleteFileW(kPlaylistFile.c_str());
    SavePlaylistAtExit(window.handle());
    CloseHandle(foreign);
    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\x.mp3\r\n");

    // Another copy holds the lock for 3 s and then ends without letting go
    // of it, as a copy that is killed does; its handle stays open, so the
    // lock is abandoned rather than gone.
    std::thread crashed([] {
        CreateMutexW(nullptr, TRUE, FileLockName(kPlaylistFile).c_str());
        Sleep(3000);
    });
    Sleep(200);
    EXPECT_EQ(SaveWithAdditions(window.handle(), [&] { Add({L"C:\\a.mp3"}); }).error, static_cast<DWORD>(ERROR_BUSY));
    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\x.mp3\r\n");
    crashed.join();
    EXPECT_EQ(SaveWithAdditions(window.handle(), [&] { Add({L"C:\\b.mp3"}); }).error, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReadBytes(kPlaylistFile), "C:\\x.mp3\r\nC:\\a.mp3\r\nC:\\b.mp3\r\n");
}

TEST(PlaylistTextTest, TheBuiltInCodePagesReadEveryByteAsWindowsDoes)
{
    for (const auto& [codePage, page] : {std::pair{1252u, &Windows1252()}, std::pair{1251u, &Windows1251()}}) {
        for (int b = 0x01; b <= 0xFF; ++b) {
            const char byte = static_cast<char>(b);
            wchar_t windows = 0;
            MultiByteToWideChar(codePage, 0, &byte, 1, &windows, 1);
            EXPECT_EQ(page->decode(std::string_view(&byte, 1)), std::wstring(1, windows)) << codePage << " " << b;
            EXPECT_EQ(page->encode(std::wstring(1, windows)), std::string(1, byte)) << codePage << " " << b;
        }
    }
}

// Windows' own reading of each code page, whatever the system's.
TEST(PlaylistTextTest, AnEarlierVersionsOneByteLineReadsRightWhereTheCodePageTellsAndComesBackAsItWas)
{
    const struct {
        unsigned codePage;
        std::string line;
        std::wstring path;
    } cases[] = {
        {1251, "Y:\\caf\xE9.mp3", L"Y:\\caf\u00e9.mp3"},
        {1251, "Mot\xF6rhead - \xC9ric.mp3", L"Mot\u00f6rhead - \u00c9ric.mp3"},
        {1251, "\xCC\xE5\xEB\xEE\xE4\xE8\xFF.mp3", L"\u041c\u0435\u043b\u043e\u0434\u0438\u044f.mp3"},
        {1251, "\xCC\xE0\xEAS\xE8\xEC.mp3", L"\u041c\u0430\u043aS\u0438\u043c.mp3"},
        {1251, "caf\xE9 \x96 live.mp3", L"caf\u0439 \u2013 live.mp3"},
        {1253, "Beyonc\xE9.mp3", L"Beyonc\u00e9.mp3"},
        {1253, "\xCC\xEF\xF5\xF3\xE9\xEA\xDE.mp3", L"\u039c\u03bf\u03c5\u03c3\u03b9\u03ba\u03ae.mp3"},
        {932, "\x83\x7E\x83\x85\x81\x5B\x83\x57\x83\x62\x83\x4E.mp3", L"\u30df\u30e5\u30fc\u30b8\u30c3\u30af.mp3"},
        {932, "caf\xE9.mp3", L"caf\u00e9.mp3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.codePage << " " << testing::PrintToString(c.path));
        const AnsiCodePage page = WindowsCodePage(c.codePage);
        PlaylistText text;
        EXPECT_EQ(StringsOf(ReadPlaylistText(c.line + "\n", page, text)), Strings{c.path});
        EXPECT_EQ(PlaylistBytes(*WritePlaylistText(text, {c.path}, page), {c.path}), c.line + "\r\n");
    }
}

TEST(PlaylistTextTest, AnAddedPathIsWrittenInTheFilesOwnEncodingAndReadsBack)
{
    const std::wstring song = L"\u041f\u0435\u0441\u043d\u044f.mp3";  // Cyrillic
    const std::string songUtf8 = "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F.mp3";
    const struct {
        const char* what;
        unsigned codePage;
        std::string file;
        std::wstring added;
        std::string saved;
    } cases[] = {
        {"UTF-16 LE", 1252, "\xFF\xFE" + Utf16(L"a.mp3\n", false), song,
         "\xFF\xFE" + Utf16(L"a.mp3\r\n" + song + L"\r\n", false)},
        {"UTF-8 behind the mark, a stray byte kept", 1252, "\xEF\xBB\xBF\xE9.mp3\r\n", song,
         "\xEF\xBB\xBF\xE9.mp3\r\n" + songUtf8 + "\r\n"},
        {"UTF-8 lines", 1252, "caf\xC3\xA9.mp3\r\n", L"\u00f1.mp3", "caf\xC3\xA9.mp3\r\n\xC3\xB1.mp3\r\n"},
        {"ANSI", 1252, "Don\x92t.mp3\r\n", L"\u2019.mp3", "Don\x92t.mp3\r\n\x92.mp3\r\n"},
        {"ANSI on 1251", 1251, "\xCC\xE5\xEB\xEE\xE4\xE8\xFF.mp3\r\n", song,
         "\xCC\xE5\xEB\xEE\xE4\xE8\xFF.mp3\r\n\xCF\xE5\xF1\xED\xFF.mp3\r\n"},
        {"an old Latin name added on 1251", 1251, "a.mp3\r\n", L"caf\u00e9.mp3", "a.mp3\r\ncaf\xE9.mp3\r\n"},
        {"no encoding of the file fits: UTF-8 behind the mark", 1252, "caf\xE9.mp3\r\n", song,
         "\xEF\xBB\xBF" "caf\xC3\xA9.mp3\r\n" + songUtf8 + "\r\n"},
        {"...but a line read by a choice keeps its bytes", 1251, "caf\xE9.mp3\r\n", L"\U0001F3B5.mp3",
         "caf\xE9.mp3\r\n\xF0\x9F\x8E\xB5.mp3\r\n"},
        {"UTF-16 LE without a mark (cmd /u)", 1252, Utf16(L"C:\\\u4e0a.mp3\r\nC:\\b.mp3\n", false), song,
         Utf16(L"C:\\\u4e0a.mp3\r\nC:\\b.mp3\r\n" + song + L"\r\n", false)},
        {"UTF-16 BE without a mark, one line", 1252, Utf16(L"C:\\a.mp3", true), song,
         Utf16(L"C:\\a.mp3\r\n" + song + L"\r\n", true)},
        {"an 8-bit line with a NUL is no UTF-16", 1252, std::string("C:\\a\0b.mp3\r\n", 12), L"c.mp3",
         std::string("C:\\a\0b.mp3\r\nc.mp3\r\n", 19)},
        {"what follows a 0x1A stays last", 1252, "a.mp3\n\x1A" "b.mp3\n\x1A", L"c.mp3", "a.mp3\r\nc.mp3\r\n\x1A" "b.mp3\n\x1A"},
        {"...in UTF-16 too, with a lone last byte", 1252, "\xFF\xFE" + Utf16(L"a\x1A\n", false) + "b", L"c",
         "\xFF\xFE" + Utf16(L"a\r\nc\r\n\x1A\n", false) + "b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const AnsiCodePage page = WindowsCodePage(c.codePage);
        PlaylistText text, again;
        PathList paths = ReadPlaylistText(c.file, page, text);
        paths.Append(c.added);
        const auto saved = WritePlaylistText(text, paths, page);
        ASSERT_TRUE(saved);
        EXPECT_EQ(PlaylistBytes(*saved, paths), c.saved);
        EXPECT_EQ(StringsOf(ReadPlaylistText(PlaylistBytes(*saved, paths), page, again)), StringsOf(paths));
    }
}

TEST(PlaylistTextTest, AnyPathsReadBackAsTheyWereWritten)
{
    std::mt19937 random(1209);
    // Every UTF-16 code unit but LF, which ends a line, and 0x1A, which ends
    // the file; surrogates paired and unpaired alike.
    const auto unit = [&]() -> wchar_t {
        for (;;) {
            const auto c = static_cast<wchar_t>(random() % (random() % 4 ? 0x100 : 0x10000));
            if (c != L'\n' && c != 0x1A)
                return c;
        }
    };
    for (int round = 0; round < 300; ++round) {
        Strings paths(1 + random() % 20);
        for (auto& path : paths) {
            do {
                path.assign(random() % 40, L'\0');
                for (auto& c : path)
                    c = unit();
            } while (path.empty());
        }
        SCOPED_TRACE(round);
        PlaylistText text;
        const PathList list = PathListOf(paths);
        ASSERT_EQ(StringsOf(ReadPlaylistText(PlaylistBytes(*WritePlaylistText(PlaylistText(), list, SystemAnsiCodePage()), list),
                                             SystemAnsiCodePage(), text)),
                  paths);
    }
}

}  // namespace
