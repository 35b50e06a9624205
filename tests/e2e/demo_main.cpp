// Shows the player at work where no one can watch: starts it, selects the
// first track, presses Play, lets it play a few seconds, saves a screenshot
// and closes it.   lirotune_demo.exe PLAYER.exe SCREENSHOT.png
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <exception>
#include <thread>

#include "e2e/player_driver.h"
#include "e2e/screenshot.h"

int main()
{
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count != 3) {
        std::fprintf(stderr, "usage: lirotune_demo PLAYER.exe SCREENSHOT.png\n");
        return 2;
    }
    try {
        PlayerProcess player(args[1]);
        player.Select(0);
        player.Click(1);  // Play
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const bool saved = SaveWindowPng(player.window(), args[2]);
        std::wprintf(L"now playing: %ls, time: %ls\n", WindowText(player.Control(101)).c_str(),
                     WindowText(player.Control(100)).c_str());
        const DWORD code = player.Close();
        std::wprintf(L"player exited with %lu\n", code);
        return saved && code == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
