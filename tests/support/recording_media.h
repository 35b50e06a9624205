#pragma once
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

// Stands in for the media service and window timers: every call the player
// makes is written down in order, as one line of text each.
//   media commands:  the command string itself ("close mp3")
//   timers:          "start timer 1 every 500 ms", "stop timer 1"
//   posted messages: "post message 32769" (and posted for real)
namespace recorded {

extern std::vector<std::wstring> calls;
// The callback window given with each media command, in order.
extern std::vector<HWND> callbacks;
// What a status query answers. A query missing here fails and leaves the
// reply buffer as it was given.
extern std::map<std::wstring, std::wstring> statusReplies;
// Commands that fail, as the open of a missing file does.
extern std::set<std::wstring> failing;

void Reset();

// A fresh start for a controller test: the playlist and list box `list`
// emptied, the player Stopped with no track, nothing recorded or failing.
void ResetPlayer(HWND list);

}  // namespace recorded
