#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include "platform/control_ids.h"
#include "playback/controller.h"
#include "playback/play_state.h"
#include "playlist/playlist.h"
#include "support/recording_media.h"
#include "support/test_window.h"

namespace {

using Strings = std::vector<std::wstring>;

// What the player should do, written out again from its rules as a user
// would state them, independent of the controller's code.
struct Model {
    PlayState state = Stopped;
    std::wstring current;
    Strings paths;
    int selection = -1;
    std::wstring nowPlaying = L"Nothing playing";
    std::wstring time = L"00:00 / 00:00";
    Strings calls;
    size_t failures = 0;

    static std::wstring NameOf(const std::wstring& path)
    {
        const auto cut = path.find_last_of(L"\\/");
        return cut == std::wstring::npos ? path : path.substr(cut + 1);
    }

    // A line without a drive plays from the folder of the playlist, the
    // test program's own.
    static std::wstring Opened(const std::wstring& path)
    {
        wchar_t program[MAX_PATH];
        const std::wstring exe(program, GetModuleFileNameW(nullptr, program, MAX_PATH));
        return path.find(L':') != std::wstring::npos ? path : exe.substr(0, exe.find_last_of(L'\\') + 1) + path;
    }

    // Tries each row from `index` on, one a message, until one plays; a whole
    // playlist of failures in a row, and it stops.
    bool Play(int index)
    {
        for (size_t at = static_cast<size_t>(index);; at = (at + 1) % paths.size()) {
            const std::wstring& path = paths[at];
            const bool quoted = path.find(L'"') != std::wstring::npos;
            calls.push_back(L"close mp3");
            if (!quoted)
                calls.push_back(L"open \"" + Opened(path) + L"\" type mpegvideo alias mp3");
            if (!quoted && path.find(L"gone") == std::wstring::npos) {
                calls.insert(calls.end(), {L"set mp3 time format milliseconds", L"play mp3 notify",
                                           L"start timer 1 every 500 ms"});
                current = path, nowPlaying = NameOf(path), selection = static_cast<int>(at);
                return true;
            }
            if (++failures >= paths.size())
                return GiveUp();
            calls.push_back(L"post message " + std::to_wstring(WM_TRY_NEXT_TRACK));
        }
    }

    bool GiveUp()
    {
        calls.insert(calls.end(), {L"stop timer 1", L"close mp3"});
        nowPlaying = L"Nothing playing", state = Stopped;
        return false;
    }

    void PressPlay()
    {
        if (selection < 0)
            return;
        if (state == Paused)
            calls.push_back(L"resume mp3");
        else if (state == Stopped || paths[static_cast<size_t>(selection)] != current) {
            failures = 0;
            if (!Play(selection))
                return;
        }
        state = Playing;
    }

    void PressPause()
    {
        if (state != Playing)
            return;
        calls.push_back(L"pause mp3");
        state = Paused;
    }

    void PressStop()
    {
        calls.insert(calls.end(), {L"stop timer 1", L"stop mp3", L"close mp3"});
        state = Stopped;
    }

    void Notify(WPARAM flags)
    {
        if (flags == MCI_NOTIFY_ABORTED || flags == MCI_NOTIFY_SUPERSEDED || state != Playing)
            return;
        calls.push_back(L"stop timer 1");
        if (paths.empty())
            return;
        failures = flags == MCI_NOTIFY_FAILURE ? failures + 1 : 0;
        if (failures >= paths.size())
            GiveUp();
        else
            Play(static_cast<int>((selection + 1) % static_cast<int>(paths.size())));
    }

    void Tick(int position, int length)
    {
        calls.insert(calls.end(), {L"status mp3 position", L"status mp3 length"});
        wchar_t text[64];
        std::swprintf(text, 64, L"%02d:%02d / %02d:%02d", position / 1000 / 60, position / 1000 % 60,
                      length / 1000 / 60, length / 1000 % 60);
        time = text;
    }
};

class ControllerModelTest : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override { recorded::ResetPlayer(window.list()); }
    TestWindow window;
};

TEST_P(ControllerModelTest, EveryStepOfARandomSessionDoesWhatTheRulesSay)
{
    const Strings pool = {
        L"C:\\Music\\a.mp3", L"C:\\Music\\A.mp3", L"C:/Music/b.mp3", L"D:\\c.mp3",
        L"C:\\Music\\a.mp3", L"bare.mp3", L"C:\\odd\\say \"hi\" x.mp3", L"C:\\ends\\",
        L"C:\\gone\\x.mp3", L"D:\\gone.mp3",
    };
    // The media service can't open the files that are gone.
    for (const auto& path : pool)
        if (path.find(L"gone") != std::wstring::npos)
            recorded::failing.insert(L"open \"" + path + L"\" type mpegvideo alias mp3");
    const WPARAM flags[] = {MCI_NOTIFY_SUCCESSFUL, MCI_NOTIFY_SUPERSEDED, MCI_NOTIFY_ABORTED,
                            MCI_NOTIFY_FAILURE, 0, 3};
    std::mt19937 random(GetParam());
    Model model;
    const HWND main = window.handle();

    for (int step = 0; step < 4000; ++step) {
        recorded::calls.clear();
        model.calls.clear();
        std::string what;
        switch (random() % 9) {
        case 0:
            what = "Play";
            PressPlay(main);
            model.PressPlay();
            break;
        case 1:
            what = "Pause";
            PressPause();
            model.PressPause();
            break;
        case 2:
            what = "Stop";
            PressStop(main);
            model.PressStop();
            break;
        case 3:
        case 4: {
            const int row = static_cast<int>(random() % (model.paths.size() + 1)) - 1;
            what = "select row " + std::to_string(row);
            window.Select(row);
            model.selection = row;
            break;
        }
        case 5:
            if (model.paths.size() < 12) {
                const auto& path = pool[random() % pool.size()];
                what = "append";
                Playlist::Append(window.list(), path, path.size() - Model::NameOf(path).size());
                model.paths.push_back(path);
            }
            break;
        case 6:
        case 7: {
            const WPARAM flag = flags[random() % std::size(flags)];
            what = "notify " + std::to_string(flag);
            OnTrackNotify(main, flag);
            model.Notify(flag);
            break;
        }
        case 8: {
            const int position = static_cast<int>(random() % 4000000) - 5000;
            const int length = static_cast<int>(random() % 4000000);
            what = "tick";
            recorded::statusReplies = {{L"status mp3 position", std::to_wstring(position)},
                                       {L"status mp3 length", std::to_wstring(length)}};
            OnProgressTick(main);
            model.Tick(position, length);
            break;
        }
        }
        PumpMessages();  // a search for a track that plays goes on to its end
        SCOPED_TRACE(testing::Message() << "step " << step << ": " << what);
        ASSERT_EQ(recorded::calls, model.calls);
        ASSERT_EQ(playState, model.state);
        ASSERT_EQ(currentTrack, model.current);
        ASSERT_EQ(window.Selection(), model.selection);
        ASSERT_EQ(window.Text(IDC_NOW_PLAYING), model.nowPlaying);
        ASSERT_EQ(window.Text(IDC_TIME), model.time);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ControllerModelTest, ::testing::Values(1u, 2u, 3u, 20261209u));

}  // namespace
