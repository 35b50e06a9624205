#include <windows.h>

#include <vector>

#include "platform/open_dialog.h"
#include "playlist/dialog_result.h"
#include "playlist/playlist_file.h"
#include "window/commands.h"

#ifdef _WIN64
static_assert(sizeof(OPENFILENAMEW) == 152, "the dialog expects the full-size description");
#endif

void AddFileCommand(HWND window)
{
    // Room for a long multiple selection: a folder and many names.
    std::vector<wchar_t> files(65536, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = L"Divevuru (*.mp3)\0*.mp3\0All Files (*.*)\0*.*\0";
    dialog.lpstrFile = files.data();
    dialog.nMaxFile = static_cast<DWORD>(files.size());
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT;
    if (!ShowOpenDialog(dialog))
        return;
    AddFromDialogResult(window, files.data());
    SavePlaylist();
}
