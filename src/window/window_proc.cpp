#include <windows.h>
#include <mmsystem.h>

#include "platform/control_ids.h"
#include "playback/controller.h"
#include "playlist/shared_playlist.h"
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

// Silent: every addition was saved, or its failure shown, by Add File.
void SaveAndCloseTrack(HWND window)
{
    SavePlaylistAtExit(window);
    // A process that ends with the track still open crashes on the way out.
    CloseTrack();
}

void OnDestroy(HWND window)
{
    SaveAndCloseTrack(window);
    PostQuitMessage(0);
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case WM_ENDSESSION:
        // An installer or Windows Update (through the Restart Manager) asks
        // the program to close: closing saves. At a real end of the session
        // (a shutdown, a sign-out) Windows ends the process after this, and
        // WM_DESTROY never comes.
        if (wParam && (lParam & ENDSESSION_CLOSEAPP))
            DestroyWindow(window);
        else if (wParam)
            SaveAndCloseTrack(window);
        return 0;
    case WM_ACTIVATE:
        // Back from Notepad or another window of the player: show the file.
        if (LOWORD(wParam) != WA_INACTIVE)
            ShowPlaylistChanges(window);
        break;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        break;
    case WM_TIMER:
        OnProgressTick(window);
        return 0;
    case MM_MCINOTIFY:
        OnTrackNotify(window, wParam);
        break;
    case WM_TRY_NEXT_TRACK:
        OnTryNextTrack(window);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
