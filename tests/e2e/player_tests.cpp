#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "e2e/e2e_fixture.h"
#include "e2e/process_probe.h"
#include "support/files.h"
#include "support/saved_back.h"

namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::wstring>;

enum : int {
    kPlay = 1, kPause = 2, kStop = 3, kTime = 100, kNowPlaying = 101, kNote = 105,
    kList = 200, kAddFile = 201, kAbout = 202,
};

// Seconds of the position in "MM:SS / MM:SS".
int ElapsedSeconds(const std::wstring& time)
{
    return std::stoi(time.substr(0, time.find(L':'))) * 60 + std::stoi(time.substr(time.find(L':') + 1));
}

bool Shows(const PlayerProcess& player, int id, const std::wstring& text, std::chrono::milliseconds timeout)
{
    return WaitUntil([&] { return player.Text(id) == text; }, timeout);
}

void Pause(std::chrono::milliseconds length)
{
    std::this_thread::sleep_for(length);
}

TEST_F(PlayerTest, EveryControlHasItsPlaceClassTextStyleAndFont)
{
    auto& player = Start();
    EXPECT_EQ(WindowText(player.window()), L"Lirotune");
    EXPECT_EQ(ClassOf(player.window()), L"SampleWindowClass");
    RECT frame;
    GetWindowRect(player.window(), &frame);
    EXPECT_EQ(frame.right - frame.left, 800);
    EXPECT_EQ(frame.bottom - frame.top, 600);
    EXPECT_EQ(GetWindowLongW(player.window(), GWL_STYLE) & 0x00CF0000, 0x00CF0000);

    const struct {
        int id;
        const wchar_t* windowClass;
        const wchar_t* text;
        LONG style;
        int x, y, width, height;
    } controls[] = {
        {kPlay, L"Button", L"Play", 0x50010000, 20, 100, 120, 30},
        {kPause, L"Button", L"Pause", 0x50010000, 150, 100, 120, 30},
        {kStop, L"Button", L"Stop", 0x50010000, 280, 100, 120, 30},
        {kTime, L"Static", L"00:00 / 00:00", 0x50000000, 20, 50, 200, 25},
        {kList, L"ListBox", L"", 0x50800001, 20, 165, 350, 390},
        {kAddFile, L"Button", L"Add File", 0x50000000, 400, 175, 120, 30},
        {kNowPlaying, L"Static", L"Nothing playing", 0x50000000, 20, 20, 500, 25},
        {kAbout, L"Button", L"About", 0x50010000, 665, 0, 120, 30},
        {kNote, L"Static", L"Note: Do not add songs with russian letters. Playlist saving will break.",
         0x50000000, 20, 140, 500, 25},
    };
    // Children in creation order.
    HWND child = GetWindow(player.window(), GW_CHILD);
    for (const auto& c : controls) {
        SCOPED_TRACE(testing::Message() << "control " << c.id);
        ASSERT_TRUE(child);
        EXPECT_EQ(GetDlgCtrlID(child), c.id);
        EXPECT_EQ(ClassOf(child), c.windowClass);
        EXPECT_EQ(WindowText(child), c.text);
        EXPECT_EQ(GetWindowLongW(child, GWL_STYLE) & 0xFFFF0FFF, c.style);
        RECT box;
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, player.window(), reinterpret_cast<POINT*>(&box), 2);
        EXPECT_EQ(box.left, c.x);
        EXPECT_EQ(box.top, c.y);
        EXPECT_EQ(box.right - box.left, c.width);
        if (c.id == kList) {
            // A list box shows whole rows only: it trims its height to fit them.
            const auto row = static_cast<int>(SendMessageW(child, LB_GETITEMHEIGHT, 0, 0));
            EXPECT_LE(box.bottom - box.top, c.height);
            EXPECT_GT(box.bottom - box.top, c.height - row);
        } else {
            EXPECT_EQ(box.bottom - box.top, c.height);
        }

        const ProbeAnswer font = ProbeProcess(player.window(), player.threadId(), c.id);
        ASSERT_TRUE(font.answered) << "the probe did not run in the player";
        ASSERT_TRUE(font.hasFont);
        EXPECT_STREQ(font.font.lfFaceName, L"Segoe UI");
        EXPECT_EQ(font.font.lfHeight, -14);
        EXPECT_EQ(font.font.lfWeight, 400);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "no other child controls";
}

TEST_F(PlayerTest, APreparedPlaylistIsShownRowByRowInFileOrder)
{
    WritePlaylist("C:\\Music\\b.mp3\r\n\r\nD:/x/a.mp3\nC:\\Caf\xE9\\\xE9t\xE9.mp3");
    auto& player = Start();
    EXPECT_EQ(player.Rows(), (Strings{L"b.mp3", L"a.mp3", L"\u00e9t\u00e9.mp3"}));
    EXPECT_EQ(player.Selection(), -1);
    EXPECT_EQ(player.Text(kNowPlaying), L"Nothing playing");
}

TEST_F(PlayerTest, AFreshStartShowsAnEmptyPlayerAndSavesAnEmptyFileOnClose)
{
    auto& player = Start();
    EXPECT_TRUE(player.Rows().empty());
    EXPECT_EQ(player.Text(kTime), L"00:00 / 00:00");
    EXPECT_EQ(SavedPlaylist(), "<no file>");
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(SavedPlaylist(), "");
}

TEST_F(PlayerTest, PlayPauseAndStopDriveRealPlayback)
{
    WritePlaylist(Bytes(Track(L"long.mp3")) + "\r\n");
    auto& player = Start();
    player.Click(kPlay);
    EXPECT_EQ(player.Text(kNowPlaying), L"Nothing playing") << "Play with no row selected does nothing";

    player.Select(0);
    player.Click(kPlay);
    EXPECT_EQ(player.Text(kNowPlaying), L"long.mp3");
    ASSERT_TRUE(WaitUntil([&] {
        const auto time = player.Text(kTime);
        return time.substr(8) == L"00:08" && ElapsedSeconds(time) >= 1;
    }, 5s)) << "the time label advances while playing: " << testing::PrintToString(player.Text(kTime));

    player.Click(kPause);
    Pause(700ms);  // a tick after the pause shows where it stopped
    const std::wstring paused = player.Text(kTime);
    Pause(1300ms);
    EXPECT_EQ(player.Text(kTime), paused) << "the time holds while paused";

    player.Select(-1);
    player.Click(kPlay);
    EXPECT_EQ(player.Text(kTime), paused) << "Play with no row selected does not resume";
    player.Select(0);
    player.Click(kPlay);
    EXPECT_TRUE(WaitUntil([&] { return ElapsedSeconds(player.Text(kTime)) > ElapsedSeconds(paused); }, 3s))
        << "Play resumes the paused track";

    player.Click(kStop);
    const std::wstring stopped = player.Text(kTime);
    Pause(1200ms);
    EXPECT_EQ(player.Text(kTime), stopped) << "Stop keeps the last time";
    EXPECT_EQ(player.Text(kNowPlaying), L"long.mp3") << "Stop keeps the track name";
    EXPECT_EQ(player.Close(), 0u);
}

TEST_F(PlayerTest, TheEndOfATrackPlaysTheNextAndTheLastWrapsToTheFirst)
{
    // The second line is written by hand, from the player's folder.
    CreateDirectoryW((folder_ + L"\\Music").c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(Track(L"two.mp3").c_str(), (folder_ + L"\\Music\\two.mp3").c_str(), FALSE));
    WritePlaylist(Bytes(Track(L"one.mp3")) + "\r\nMusic\\two.mp3\r\n");
    auto& player = Start();
    player.Select(0);
    player.Click(kPlay);
    ASSERT_TRUE(Shows(player, kNowPlaying, L"two.mp3", 8s)) << "a relative line plays, wherever the player started";
    EXPECT_EQ(player.Selection(), 1);
    ASSERT_TRUE(Shows(player, kNowPlaying, L"one.mp3", 8s)) << "after the last track comes the first";
    EXPECT_EQ(player.Selection(), 0);
    EXPECT_EQ(player.Close(), 0u);
}

TEST_F(PlayerTest, PlayOnAnotherRowWhileATrackPlaysSwitchesToExactlyThatRow)
{
    WritePlaylist(Bytes(Track(L"long.mp3")) + "\r\n" + Bytes(Track(L"one.mp3")) + "\r\n" +
                  Bytes(Track(L"other long.mp3")) + "\r\n" + Bytes(Track(L"three.mp3")) + "\r\n");
    auto& player = Start();
    player.Select(0);
    player.Click(kPlay);
    Pause(1s);
    player.Select(2);
    player.Click(kPlay);
    EXPECT_EQ(player.Text(kNowPlaying), L"other long.mp3");
    // The switch cut the first track's play request short; its report comes
    // now and must not move the player on.
    Pause(2500ms);
    EXPECT_EQ(player.Text(kNowPlaying), L"other long.mp3");
    EXPECT_EQ(player.Selection(), 2);
    EXPECT_GE(ElapsedSeconds(player.Text(kTime)), 1) << "the new track plays from its start";
    EXPECT_EQ(player.Close(), 0u);
}

TEST_F(PlayerTest, ADoubleClickOnARowNeverStartsPlayback)
{
    WritePlaylist(Bytes(Track(L"one.mp3")) + "\r\n");
    auto& player = Start();
    const HWND list = player.Control(kList);
    const LPARAM firstRow = MAKELPARAM(10, 5);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, firstRow);
    PostMessageW(list, WM_LBUTTONUP, 0, firstRow);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, firstRow);
    PostMessageW(list, WM_LBUTTONUP, 0, firstRow);
    ASSERT_TRUE(WaitUntil([&] { return player.Selection() == 0; }, 3s)) << "the clicks reached the list";
    Pause(1200ms);
    EXPECT_EQ(player.Text(kNowPlaying), L"Nothing playing");
    EXPECT_EQ(player.Text(kTime), L"00:00 / 00:00");
}

TEST_F(PlayerTest, ClosingTheWindowWhileATrackPlaysSavesThePlaylistAndExitsCleanly)
{
    const std::string path = Bytes(Track(L"long.mp3"));
    WritePlaylist(path + "\n" + path);
    auto& player = Start();
    player.Select(1);
    player.Click(kPlay);
    ASSERT_TRUE(WaitUntil([&] { return ElapsedSeconds(player.Text(kTime)) >= 1; }, 5s));
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(SavedPlaylist(), path + "\n" + path) << "nothing new: the file is left as it was";
}

// Run alone, under the Unix locale ru_RU.UTF-8: the player's ANSI code page is
// Windows-1251, as on every Russian Windows.
using CyrillicSystemTest = PlayerTest;

TEST_F(CyrillicSystemTest, AnEarlierVersionsLatinPlaylistShowsPlaysAndComesBackByteForByte)
{
    ASSERT_EQ(GetACP(), 1251u) << "run with LIROTUNE_LOCALE=ru_RU.UTF-8 (localedef -i ru_RU -f UTF-8 ru_RU.UTF-8)";
    const std::wstring cafe = folder_ + L"\\caf\u00e9.mp3";
    ASSERT_TRUE(CopyFileW(Track(L"one.mp3").c_str(), cafe.c_str(), FALSE));
    // An earlier version wrote \u00e9 as the byte E9, which is \u0439 in Windows-1251;
    // beside it, a name Notepad saved in the code page.
    const std::string bytes = Bytes(cafe) + "\r\n\xCC\xE5\xEB\xEE\xE4\xE8\xFF.mp3\r\n";
    WritePlaylist(bytes);
    auto& player = Start();
    EXPECT_EQ(player.Rows(), (Strings{L"caf\u00e9.mp3", L"\u041c\u0435\u043b\u043e\u0434\u0438\u044f.mp3"}));
    player.Select(0);
    player.Click(kPlay);
    EXPECT_TRUE(WaitUntil([&] { return player.Text(kTime).substr(8) == L"00:02"; }, 5s)) << "it plays";
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(SavedPlaylist(), bytes);
}

// The text a message box shows.
std::wstring MessageText(HWND box)
{
    std::wstring texts;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == L"Static")
            texts += WindowText(child);
    return texts;
}

TEST_F(PlayerTest, TheAboutBoxNamesTheProgramItsMakerAndWhatItIs)
{
    auto& player = Start();
    player.ClickLater(kAbout);
    const HWND about = player.WaitForDialog(L"About this thing", 5s);
    ASSERT_TRUE(about);
    EXPECT_EQ(MessageText(about), L"Lirotune v1.1\nBy Brevanic\nSimple Win32 MP3 Player");
    PostMessageW(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5s));
    EXPECT_EQ(player.Close(), 0u);
}

// Answers the open dialog: types into its file name box and presses Open.
void Choose(HWND dialog, const std::wstring& text)
{
    HWND edit = FindWindowExW(dialog, nullptr, L"ComboBoxEx32", nullptr);
    for (const wchar_t* inner : {L"ComboBox", L"Edit"})
        if (HWND child = FindWindowExW(edit, nullptr, inner, nullptr))
            edit = child;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(PlayerTest, AddFileWithOneChosenFileAddsItsRowAndSavesAtOnce)
{
    auto& player = Start();
    player.ClickLater(kAddFile);
    const HWND dialog = player.WaitForDialog(L"Open", 5s);
    ASSERT_TRUE(dialog);
    Choose(dialog, Track(L"one.mp3"));
    ASSERT_TRUE(WaitUntil([&] { return player.Rows().size() == 1; }, 5s));
    EXPECT_EQ(player.Rows(), Strings{L"one.mp3"});
    EXPECT_TRUE(WaitUntil([&] { return SavedPlaylist() == Bytes(Track(L"one.mp3")) + "\r\n"; }, 2s))
        << SavedPlaylist();
}

TEST_F(PlayerTest, AddFileWithTwoFilesFromOneFolderAddsBareNamesInOrderInTheFilesEncoding)
{
    WritePlaylist("\xFF\xFE" + Utf16(Track(L"long.mp3") + L"\r\n", false));
    auto& player = Start();
    player.ClickLater(kAddFile);
    const HWND dialog = player.WaitForDialog(L"Open", 5s);
    ASSERT_TRUE(dialog);
    Choose(dialog, Track(L""));  // the folder first: the dialog goes there
    Pause(500ms);
    Choose(dialog, L"\"two.mp3\" \"one.mp3\"");
    ASSERT_TRUE(WaitUntil([&] { return player.Rows().size() == 3; }, 5s));
    EXPECT_EQ(player.Rows(), (Strings{L"long.mp3", L"two.mp3", L"one.mp3"}));
    EXPECT_EQ(SavedPlaylist(), "\xFF\xFE" + Utf16(Track(L"long.mp3") + L"\r\n" + Track(L"two.mp3") + L"\r\n" +
                                                         Track(L"one.mp3") + L"\r\n", false));
    // The player does not stay in the folder browsed, which Windows could
    // then not eject: it is back where it started, the folder above its own.
    const std::wstring startedIn = folder_.substr(0, folder_.find_last_of(L'\\'));
    EXPECT_EQ(lstrcmpiW(ProbeProcess(player.window(), player.threadId(), 0).currentDirectory, startedIn.c_str()), 0);
}

// Run alone, in a Wine session of its own: the end of the session ends every
// program there that has a window.
using EndOfSessionTest = PlayerTest;

TEST_F(EndOfSessionTest, AnAddedFileThatCannotBeSavedIsReportedKeptInTheListAndSavedAsWindowsShutsDown)
{
    const std::string old = Bytes(Track(L"long.mp3")) + "\r\n";
    WritePlaylist(old);
    SetFileAttributesW(PlaylistFile().c_str(), FILE_ATTRIBUTE_READONLY);
    auto& player = Start();
    player.ClickLater(kAddFile);
    const HWND dialog = player.WaitForDialog(L"Open", 5s);
    ASSERT_TRUE(dialog);
    Choose(dialog, Track(L"one.mp3"));

    const HWND warning = player.WaitForDialog(L"Lirotune", 5s);
    ASSERT_TRUE(warning) << "a failed save is never silent";
    EXPECT_EQ(GetWindow(warning, GW_OWNER), player.window());
    const std::wstring text = MessageText(warning);
    EXPECT_NE(text.find(L"could not be saved"), std::wstring::npos) << text;
    EXPECT_NE(text.find(PlaylistFile()), std::wstring::npos) << "names the file: " << text;
    EXPECT_NE(text.find(L"denied"), std::wstring::npos) << "gives the system's reason: " << text;
    PostMessageW(warning, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(warning); }, 5s));

    EXPECT_EQ(player.Rows(), (Strings{L"long.mp3", L"one.mp3"}));
    player.Select(1);
    player.Click(kPlay);
    EXPECT_EQ(player.Text(kNowPlaying), L"one.mp3");
    EXPECT_EQ(SavedPlaylist(), old);
    EXPECT_EQ(FilesIn(folder_ + L"\\"), L"lirotune.exe playlist.txt") << "no temporary file is left";

    // Windows shuts down: every window hears that the session ends, and then
    // its program is ended, without WM_DESTROY.
    SetFileAttributesW(PlaylistFile().c_str(), FILE_ATTRIBUTE_NORMAL);
    _wsystem(L"wineboot.exe --end-session");
    EXPECT_TRUE(WaitUntil([&] { return !player.running(); }, 10s));
    EXPECT_EQ(SavedPlaylist(), old + Bytes(Track(L"one.mp3")) + "\r\n");
}

// The open dialog's list of files, wherever it sits among the dialog's windows.
HWND FileList(HWND dialog)
{
    HWND found = nullptr;
    EnumChildWindows(dialog, [](HWND child, LPARAM lParam) {
        if (ClassOf(child) != L"SysListView32")
            return TRUE;
        *reinterpret_cast<HWND*>(lParam) = child;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Selects every file in the list, as Ctrl+A does on Windows (Wine's list has
// no Ctrl+A). The item description must be in the player's own memory.
void SelectAllFiles(const PlayerProcess& player, HWND list)
{
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, player.processId());
    ASSERT_TRUE(process);
    void* remote = VirtualAllocEx(process, nullptr, sizeof(LVITEMW), MEM_COMMIT, PAGE_READWRITE);
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    ASSERT_TRUE(WriteProcessMemory(process, remote, &item, sizeof item, nullptr));
    DWORD_PTR ignored;
    SendMessageTimeoutW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(remote),
                        SMTO_NORMAL, 60000, &ignored);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
}

TEST_F(PlayerTest, AddFileTakesAWholeFolderWhoseSelectionIsLongerThan65536Characters)
{
    // Wine's dialog finds no file whose full path has 260 characters or
    // more, so the folder sits high up. Its names are long, so that fewer of
    // them (selecting is slow under Wine) make a selection of more than
    // 65,536 characters.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring music = temp + std::wstring(L"lirotune-selection");
    RemoveTree(music);
    ASSERT_TRUE(CreateDirectoryW(music.c_str(), nullptr));
    const std::size_t nameLength = 250 - music.size();
    Strings names;
    std::string expected;
    for (std::size_t i = 0; names.size() * (nameLength + 1) < 70000; ++i) {
        names.push_back(std::to_wstring(1000 + i) + std::wstring(nameLength - 8, L'x') + L".mp3");
        WriteBytes(music + L"\\" + names.back(), "");
        expected += Bytes(music + L"\\" + names.back()) + "\r\n";
    }
    auto& player = Start();
    player.ClickLater(kAddFile);
    const HWND dialog = player.WaitForDialog(L"Open", 5s);
    ASSERT_TRUE(dialog);
    Choose(dialog, music);  // the dialog goes there
    HWND list = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        list = FileList(dialog);
        return list && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == static_cast<LRESULT>(names.size());
    }, 10s));
    SelectAllFiles(player, list);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);

    ASSERT_TRUE(WaitUntil([&] { return player.Rows().size() == names.size() || !player.running(); }, 30s));
    EXPECT_EQ(player.Rows(), names) << "every file, in the dialog's order";
    EXPECT_TRUE(SavedPlaylist() == expected) << "saved once, with every path";
    EXPECT_EQ(player.Close(), 0u);
    RemoveTree(music);
}

TEST_F(PlayerTest, CancellingAddFileAddsAndSavesNothing)
{
    auto& player = Start();
    player.ClickLater(kAddFile);
    const HWND dialog = player.WaitForDialog(L"Open", 5s);
    ASSERT_TRUE(dialog);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5s));
    Pause(300ms);
    EXPECT_TRUE(player.Rows().empty());
    EXPECT_EQ(SavedPlaylist(), "<no file>");
}

// Adds one file through the open dialog and returns once the dialog is gone.
void AddOneFile(const PlayerProcess& player, const std::wstring& path)
{
    player.ClickLater(kAddFile);
    const HWND dialog = player.WaitForDialog(L"Open", 5s);
    ASSERT_TRUE(dialog);
    Choose(dialog, path);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5s));
}

TEST_F(PlayerTest, AnEditMadeWhileThePlayerRunsShowsOnReturnToItAndSurvivesTheClose)
{
    const std::string one = Bytes(Track(L"one.mp3")) + "\r\n", two = Bytes(Track(L"two.mp3")) + "\r\n",
                      three = Bytes(Track(L"three.mp3")) + "\r\n";
    WritePlaylist(one);
    auto& player = Start();
    WritePlaylist(one + two);  // saved in Notepad
    player.Activate();
    EXPECT_TRUE(WaitUntil([&] { return player.Rows() == Strings{L"one.mp3", L"two.mp3"}; }, 5s))
        << testing::PrintToString(player.Rows());
    // Saved as many editors do: a new file renamed over the old one.
    WriteBytes(folder_ + L"\\edit.tmp", two + three);
    ASSERT_TRUE(MoveFileExW((folder_ + L"\\edit.tmp").c_str(), PlaylistFile().c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(SavedPlaylist(), two + three);
}

TEST_F(PlayerTest, TwoPlayersInOneFolderEachAddAFileAndBothAreKept)
{
    const std::string one = Bytes(Track(L"one.mp3")) + "\r\n", two = Bytes(Track(L"two.mp3")) + "\r\n",
                      three = Bytes(Track(L"three.mp3")) + "\r\n";
    WritePlaylist(one);
    auto& first = Start();
    PlayerProcess second(folder_ + L"\\lirotune.exe");
    AddOneFile(first, Track(L"two.mp3"));
    AddOneFile(second, Track(L"three.mp3"));
    EXPECT_EQ(second.Rows(), (Strings{L"one.mp3", L"two.mp3", L"three.mp3"}));
    EXPECT_EQ(second.Close(), 0u);
    EXPECT_EQ(first.Close(), 0u);
    EXPECT_EQ(SavedPlaylist(), one + two + three);
}

TEST_F(PlayerTest, TheTrackThatPlaysGoesOnThroughAReloadAndTheAdvanceFollowsItsPath)
{
    const std::string longTrack = Bytes(Track(L"long.mp3")) + "\r\n", one = Bytes(Track(L"one.mp3")) + "\r\n",
                      two = Bytes(Track(L"two.mp3")) + "\r\n";
    WritePlaylist(longTrack + one);
    auto& player = Start();
    player.Select(0);
    player.Click(kPlay);
    ASSERT_TRUE(WaitUntil([&] { return ElapsedSeconds(player.Text(kTime)) >= 1; }, 5s));
    WritePlaylist(two + longTrack + one);  // a track put above the one that plays
    player.Activate();
    EXPECT_TRUE(WaitUntil([&] { return player.Rows() == Strings{L"two.mp3", L"long.mp3", L"one.mp3"}; }, 5s))
        << testing::PrintToString(player.Rows());
    EXPECT_EQ(player.Selection(), 1) << "the selection stays on long.mp3";
    EXPECT_EQ(player.Text(kNowPlaying), L"long.mp3");
    const int before = ElapsedSeconds(player.Text(kTime));
    EXPECT_TRUE(WaitUntil([&] { return ElapsedSeconds(player.Text(kTime)) > before; }, 3s)) << "still playing";
    EXPECT_TRUE(Shows(player, kNowPlaying, L"one.mp3", 10s)) << "the advance goes on from long.mp3";
    EXPECT_EQ(player.Close(), 0u);
}

}  // namespace
