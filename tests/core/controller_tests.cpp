#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <functional>
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
    // The first track ended just as the switch closed it: its report is
    // queued, and must not move row 2 on once it plays.
    PostMessageW(main(), MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    PressPlay(main());
    recorded::Reset();
    PumpMessages();
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

TEST_F(ControllerTest, TracksThatCannotBePlayedArePassedOverAndAWholeLapOfThemStops)
{
    const std::wstring quoted = L"C:\\x.mp3\" type waveaudio alias other wait \"";
    const Strings paths = {tracks[0], L"C:\\gone\\ghost1.mp3", quoted, L"E:\\ghost2.mp3", tracks[1]};
    Load(paths);
    const auto opens = [&](int row) { return PlaySequence(paths[static_cast<size_t>(row)])[1]; };
    recorded::failing = {opens(1), opens(3)};
    // The commands of the rows tried in vain, each followed by the message
    // that goes on to the next: a quoted path is never opened.
    const std::wstring goOn = L"post message " + std::to_wstring(WM_TRY_NEXT_TRACK);
    const auto passOver = [&](Strings calls, std::initializer_list<int> rows, const Strings& then) {
        for (int row : rows) {
            calls.push_back(L"close mp3");
            if (row != 2)
                calls.push_back(opens(row));
            calls.push_back(goOn);
        }
        calls.insert(calls.end(), then.begin(), then.end());
        return calls;
    };
    const auto notify = [&](WPARAM flags) { return [&, flags] { OnTrackNotify(main(), flags); PumpMessages(); }; };
    struct Step {
        const char* what;
        std::function<void()> act;
        Strings calls;
        PlayState state;
        std::wstring nowPlaying;
        int selection;
    };
    const Step steps[] = {
        {"Stop ends a search", [&] { window.Select(1); PressPlay(main()); PressStop(main()); PumpMessages(); },
         passOver({}, {1}, {kStopTimer, L"stop mp3", L"close mp3"}), Stopped, kNothingPlaying, 1},
        {"Play on a row that can't be played", [&] { PressPlay(main()); PumpMessages(); },
         passOver({}, {1, 2, 3}, PlaySequence(tracks[1])), Playing, L"two.mp3", 4},
        {"Pause before the search's next message: nothing plays yet that could be paused",
         [&] { window.Select(1); PressPlay(main()); PressPause(); PumpMessages(); },
         passOver({}, {1, 2, 3}, PlaySequence(tracks[1])), Playing, L"two.mp3", 4},
        {"the end of a track", notify(MCI_NOTIFY_SUCCESSFUL),
         passOver({kStopTimer}, {}, PlaySequence(tracks[0])), Playing, L"one.mp3", 0},
        {"the advance over failing rows", notify(MCI_NOTIFY_SUCCESSFUL),
         passOver({kStopTimer}, {1, 2, 3}, PlaySequence(tracks[1])), Playing, L"two.mp3", 4},
        {"a play request that failed", notify(MCI_NOTIFY_FAILURE),
         passOver({kStopTimer}, {}, PlaySequence(tracks[0])), Playing, L"one.mp3", 0},
        {"the fifth failure in a row: rows 1 to 3 on the way, then 4 and 0 as they played",
         notify(MCI_NOTIFY_FAILURE), {kStopTimer, kStopTimer, L"close mp3"}, Stopped, kNothingPlaying, 0},
        {"Play when nothing can be played",
         [&] { recorded::failing = {opens(0), opens(1), opens(3), opens(4)}; PressPlay(main()); PumpMessages(); },
         passOver({}, {0, 1, 2, 3}, {L"close mp3", opens(4), kStopTimer, L"close mp3"}), Stopped,
         kNothingPlaying, 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        recorded::Reset();
        step.act();
        EXPECT_EQ(recorded::calls, step.calls);
        EXPECT_EQ(playState, step.state);
        EXPECT_EQ(window.Text(IDC_NOW_PLAYING), step.nowPlaying);
        EXPECT_EQ(window.Selection(), step.selection);
        EXPECT_EQ(window.Rows().size(), paths.size()) << "nothing is removed";
    }
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
