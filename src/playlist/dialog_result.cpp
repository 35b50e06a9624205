#include "playlist/dialog_result.h"

#include <cwchar>
#include <string>

#include "platform/control_ids.h"
#include "platform/controls.h"
#include "playlist/display_name.h"
#include "playlist/playlist.h"

void AddFromDialogResult(HWND window, const wchar_t* buffer)
{
    const HWND list = ControlOf(window, IDC_PLAYLIST);
    const std::wstring first = buffer;
    const wchar_t* name = buffer + first.size() + 1;
    if (*name == L'\0') {
        Playlist::Append(list, first, DisplayNameStart(first));
        return;
    }
    // Several files: the first string is their folder. The backslash is
    // always inserted, so a drive root gives "C:\\a.mp3", stored as built.
    while (*name != L'\0') {
        const std::wstring fileName = name;
        Playlist::Append(list, first + L'\\' + fileName, first.size() + 1);
        name += fileName.size() + 1;
    }
}
