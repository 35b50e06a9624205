#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

#include "platform/control_ids.h"
#include "playback/controller.h"
#include "playback/play_state.h"
#include "playlist/display_name.h"
#include "playlist/playlist.h"
#include "support/recording_media.h"
#include "support/test_window.h"

namespace {

using Strings = std::vector<std::wstring>;

const wchar_t kStartTimer[] = L"start timer 1 every 500 ms";
const wchar_t kStopTimer[] = L"stop timer 1";

Strings PlaySequence(const std::wstring& path)
{
    return {L"close mp3", L"open \"" + path + L"\" type mpegvideo alias mp3",
            L"set mp3 time format milliseconds", L"play mp3 notify", kStartTimer};
}

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override { recorded::ResetPlayer(window.list()); }

    void Load(const Strings& paths)
    {
        for (const auto& path : paths)
            Playlist::Append(window.list(), path, DisplayNameStart(path));
    }

    // Plays `row` from Stopped and forgets the calls that took.
    void StartPlaying(int row)
    {
        window.Select(row);
        PressPlay(window.handle());
        ASSERT_EQ(playState, Playing);
        recorded::Reset();
    }

    HWND main() const { return window.handle(); }

    TestWindow window;
    const Strings tracks = {L"C:\\Music\\one.mp3", L"C:\\Music\\two.mp3",
                            L"D:\\Other\\three.mp3"};
};

TEST_F(ControllerTest, PlayWhileStoppedOpensAndStartsTheSelectedRow)
{
    Load(tracks);
    window.Select(2);
    PressPlay(main());
    EXPECT_EQ(recorded::calls, PlaySequence(tracks[2]));
    EXPECT_EQ(recorded::callbacks[3], main()) << "the play request reports back to the main window";
    EXPECT_EQ(recorded::callbacks[0], nullptr);
    EXPECT_EQ(playState, Playing);
    EXPECT_EQ(currentTrack, tracks[2]);
    EXPECT_EQ(window.Text(IDC_NOW_PLAYING), L"three.mp3");
    EXPECT_EQ(window.Selection(), 2);
    EXPECT_EQ(window.Text(IDC_TIME), L"00:00 / 00:00") << "the first tick replaces the time";
}

TEST_F(ControllerTest, PlayWithNoRowSelectedDoesNothingInEveryState)
{
    Load(tracks);
    for (PlayState state : {Stopped, Playing, Paused}) {
        SCOPED_TRACE(state);
        playState = state;
        window.Select(-1);
        PressPlay(main());
        EXPECT_TRUE(recorded::calls.empty());
        EXPECT_EQ(playState, state);
    }
}

TEST_F(ControllerTest, PlayOnAnotherRowWhilePlayingSwitchesToThatRow)
{
    Load(tracks);
    StartPlaying(0);
    window.Select(1);
    PressPlay(main());
    EXPECT_EQ(recorded::calls, PlaySequence(tracks[1]));
    EXPECT_EQ(currentTrack, tracks[1]);
    EXPECT_EQ(window.Text(IDC_NOW_PLAYING), L"two.mp3");
    EXPECT_EQ(playState, Playing);
}

TEST_F(ControllerTest, PlayOnTheRowThatIsPlayingLetsItGoOn)
{
    Load(tracks);
    StartPlaying(1);
    PressPlay(main());
    EXPECT_TRUE(recorded::calls.empty());
    EXPECT_EQ(playState, Playing);
}

TEST_F(ControllerTest, ThePathDecidesWhetherPlaySwitchesNotTheRow)
{
    // The same file at rows 0 and 3, and a path that differs only in case.
    Load({L"C:\\a.mp3", L"C:\\b.mp3", L"C:\\A.mp3", L"C:\\a.mp3"});
    StartPlaying(0);

    window.Select(3);
    PressPlay(main());
    EXPECT_TRUE(recorded::calls.empty()) << "the same path at another row goes on playing";
    EXPECT_EQ(window.Selection(), 3);

    OnTrackNotify(main(), MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(recorded::calls.front(), L"stop timer 1");
    EXPECT_EQ(currentTrack, L"C:\\a.mp3") << "the advance starts from row 3 and wraps to row 0";
    EXPECT_EQ(window.Selection(), 0);

    recorded::Reset();
    window.Select(2);
    PressPlay(main());
    EXPECT_EQ(recorded::calls, PlaySequence(L"C:\\A.mp3")) << "paths are compared case-sensitively";
}

TEST_F(ControllerTest, PauseWhilePlayingPausesAndKeepsTheTimer)
{
    Load(tracks);
    StartPlaying(0);
    PressPause();
    EXPECT_EQ(recorded::calls, Strings{L"pause mp3"});
    EXPECT_EQ(playState, Paused);
}

TEST_F(ControllerTest, PauseWhenNotPlayingDoesNothing)
{
    Load(tracks);
    for (PlayState state : {Stopped, Paused}) {
        SCOPED_TRACE(state);
        playState = state;
        PressPause();
        EXPECT_TRUE(recorded::calls.empty());
        EXPECT_EQ(playState, state);
    }
}

TEST_F(ControllerTest, PlayWhilePausedResumesThePausedTrackWhateverRowIsSelected)
{
    Load(tracks);
    StartPlaying(0);
    PressPause();
    recorded::Reset();
    window.Select(2);
    PressPlay(main());
    EXPECT_EQ(recorded::calls, Strings{L"resume mp3"});
    EXPECT_EQ(recorded::callbacks, std::vector<HWND>{nullptr}) << "resuming asks for no report";
    EXPECT_EQ(playState, Playing);
    EXPECT_EQ(currentTrack, tracks[0]);
    EXPECT_EQ(window.Text(IDC_NOW_PLAYING), L"one.mp3");
}

TEST_F(ControllerTest, StopInEveryStateStopsTheTimerAndClosesTheTrack)
{
    Load(tracks);
    for (PlayState state : {Stopped, Playing, Paused}) {
        SCOPED_TRACE(state);
        StartPlaying(1);
        playState = state;
        window.Select(0);
        PressStop(main());
        EXPECT_EQ(recorded::calls, (Strings{kStopTimer, L"stop mp3", L"close mp3"}));
        EXPECT_EQ(playState, Stopped);
        EXPECT_EQ(currentTrack, tracks[1]) << "Stop keeps the current track";
        EXPECT_EQ(window.Text(IDC_NOW_PLAYING), L"two.mp3") << "Stop keeps the label";
        EXPECT_EQ(window.Selection(), 0) << "Stop leaves the selection alone";
        playState = Stopped;
    }
}

TEST_F(ControllerTest, TheEndOfATrackPlaysTheRowAfterTheSelectedOneAndWrapsAround)
{
    Load(tracks);
    StartPlaying(0);
    for (int expected : {1, 2, 0, 1}) {
        SCOPED_TRACE(expected);
        recorded::Reset();
        OnTrackNotify(main(), MCI_NOTIFY_SUCCESSFUL);
        Strings sequence = PlaySequence(tracks[expected]);
        sequence.insert(sequence.begin(), kStopTimer);
        EXPECT_EQ(recorded::calls, sequence);
        EXPECT_EQ(window.Selection(), expected);
        EXPECT_EQ(playState, Playing);
    }
}

TEST_F(ControllerTest, TheAdvanceFollowsTheSelectionNotThePlayingRow)
{
    Load(tracks);
    StartPlaying(1);
    window.Select(0);
    OnTrackNotify(main(), MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(currentTrack, tracks[1]);
    EXPECT_EQ(window.Selection(), 1);
}

TEST_F(ControllerTest, TheEndOfTheOnlyTrackPlaysItAgain)
{
    Load({tracks[0]});
    StartPlaying(0);
    OnTrackNotify(main(), MCI_NOTIFY_SUCCESSFUL);
    Strings sequence = PlaySequence(tracks[0]);
    sequence.insert(sequence.begin(), kStopTimer);
    EXPECT_EQ(recorded::calls, sequence);
}

TEST_F(ControllerTest, TheEndOfATrackWithNoRowSelectedPlaysTheFirstRow)
{
    Load(tracks);
    StartPlaying(2);
    window.Select(-1);
    OnTrackNotify(main(), MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(currentTrack, tracks[0]);
    EXPECT_EQ(window.Selection(), 0);
}

TEST_F(ControllerTest, TheEndOfATrackWithAnEmptyPlaylistOnlyStopsTheTimer)
{
    playState = Playing;
    OnTrackNotify(main(), MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(recorded::calls, Strings{kStopTimer});
    EXPECT_EQ(playState, Playing);
}

TEST_F(ControllerTest, NotificationsWhilePausedOrStoppedChangeNothing)
{
    Load(tracks);
    for (PlayState state : {Stopped, Paused}) {
        SCOPED_TRACE(state);
        playState = state;
        OnTrackNotify(main(), MCI_NOTIFY_SUCCESSFUL);
        OnTrackNotify(main(), MCI_NOTIFY_FAILURE);
        EXPECT_TRUE(recorded::calls.empty());
        EXPECT_EQ(playState, state);
    }
}

TEST_F(ControllerTest, AReportOfARequestThePlayerCutShortDoesNotAdvance)
{
    Load(tracks);
    StartPlaying(0);
    window.Select(2);
    PressPlay(main());
    recorded::Reset();
    // The close that switched tracks aborted the first play request; its
    // report arrives while row 2 plays.
    OnTrackNotify(main(), MCI_NOTIFY_ABORTED);
    OnTrackNotify(main(), MCI_NOTIFY_SUPERSEDED);
    EXPECT_TRUE(recorded::calls.empty());
    EXPECT_EQ(currentTrack, tracks[2]);
    EXPECT_EQ(window.Selection(), 2);

    OnTrackNotify(main(), MCI_NOTIFY_FAILURE);
    EXPECT_EQ(currentTrack, tracks[0]) << "a failed play request still moves on";
}

TEST_F(ControllerTest, APathWithAQuotationMarkIsNeverOpenedButPlaysOnAsAFailedOpen)
{
    const std::wstring sneaky = L"C:\\x.mp3\" type waveaudio alias other wait \"";
    Load({sneaky, tracks[0]});
    window.Select(0);
    PressPlay(main());
    EXPECT_EQ(recorded::calls, (Strings{L"close mp3", L"set mp3 time format milliseconds",
                                        L"play mp3 notify", kStartTimer}));
    EXPECT_EQ(playState, Playing);
    EXPECT_EQ(window.Text(IDC_NOW_PLAYING), DisplayName(sneaky));
    EXPECT_EQ(window.Selection(), 0);

    OnTrackNotify(main(), MCI_NOTIFY_FAILURE);
    EXPECT_EQ(currentTrack, tracks[0]) << "the next track still follows";
}

TEST_F(ControllerTest, PlayTrackOutsideThePlaylistSendsNothing)
{
    Load(tracks);
    for (int index : {-1, 3, 1000}) {
        SCOPED_TRACE(index);
        PlayTrack(main(), index);
        EXPECT_TRUE(recorded::calls.empty());
        EXPECT_TRUE(currentTrack.empty());
        EXPECT_EQ(window.Text(IDC_NOW_PLAYING), L"Nothing playing");
    }
}

TEST_F(ControllerTest, TheTickShowsThePositionAndLengthInEveryState)
{
    Load(tracks);
    recorded::statusReplies = {{L"status mp3 position", L"61000"},
                               {L"status mp3 length", L"3723999"}};
    for (PlayState state : {Stopped, Playing, Paused}) {
        SCOPED_TRACE(state);
        playState = state;
        recorded::calls.clear();
        OnProgressTick(main());
        EXPECT_EQ(recorded::calls, (Strings{L"status mp3 position", L"status mp3 length"}));
        EXPECT_EQ(window.Text(IDC_TIME), L"01:01 / 62:03");
    }
}

TEST_F(ControllerTest, TheTickReadsStatusRepliesAsLeadingDecimalNumbers)
{
    recorded::statusReplies = {{L"status mp3 position", L"  -5000ms"},
                               {L"status mp3 length", L"120000.7"}};
    OnProgressTick(main());
    EXPECT_EQ(window.Text(IDC_TIME), L"00:-5 / 02:00");
}

TEST_F(ControllerTest, AFailedStatusQueryShowsZeroRatherThanOldText)
{
    recorded::statusReplies = {{L"status mp3 position", L"5000"}};
    OnProgressTick(main());
    EXPECT_EQ(window.Text(IDC_TIME), L"00:05 / 00:00");
    recorded::statusReplies.clear();
    OnProgressTick(main());
    EXPECT_EQ(window.Text(IDC_TIME), L"00:00 / 00:00");
}

}  // namespace
