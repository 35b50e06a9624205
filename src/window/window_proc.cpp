#include <windows.h>
#include <mmsystem.h>

#include "platform/control_ids.h"
#include "playback/controller.h"
#include "playlist/playlist_file.h"
#include "window/commands.h"
#include "window/main_window.h"

namespace {

void OnCommand(HWND window, int id)
{
    switch (id) {
    case IDC_PLAY: PressPlay(window); break;
    case IDC_PAUSE: PressPause(); break;
    case IDC_STOP: PressStop(window); break;
    case IDC_ADD_FILE: AddFileCommand(window); break;
    case IDC_ABOUT: ShowAbout(window); break;
    }
}

void OnDestroy()
{
    // Silent: every addition was saved, or its failure shown, by Add File.
    SavePlaylist();
    // A process that ends with the track still open crashes on the way out.
    CloseTrack();
    PostQuitMessage(0);
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        break;
    case WM_TIMER:
        OnProgressTick(window);
        return 0;
    case MM_MCINOTIFY:
        OnTrackNotify(window, wParam);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
