#include <windows.h>
#include <cderr.h>

#include <string>
#include <vector>

#include "platform/open_dialog.h"
#include "platform/system_error.h"
#include "playlist/dialog_result.h"
#include "playlist/playlist_file.h"
#include "playlist/shared_playlist.h"
#include "window/commands.h"

#ifdef _WIN64
static_assert(sizeof(OPENFILENAMEW) == 152, "the dialog expects the full-size description");
#endif

namespace {

// Room for a whole music folder: 10,000 names of 100 characters, each with
// its NUL, and the folder itself. 2 MiB, held only while the dialog is open.
constexpr std::size_t kSelectionRoom = 1 << 20;

void Warn(HWND window, const std::wstring& text)
{
    MessageBoxW(window, text.c_str(), L"Lirotune", MB_OK | MB_ICONWARNING);
}

void ReportDialogFailure(HWND window, DWORD error)
{
    if (error == 0)
        return;  // the user cancelled
    if (error == FNERR_BUFFERTOOSMALL)
        Warn(window, L"The selection is too large to add at once.\n\n"
                     L"Nothing was added. Please add the files in smaller groups.");
    else
        Warn(window, L"The file dialog could not be used (common dialog error " + std::to_wstring(error) +
                         L").\n\nNothing was added.");
}

void ReportSaveFailure(HWND window, const SaveResult& result)
{
    const std::wstring why = result.unreadable ? L"Lirotune could not read the file, so it left it as it is: " +
                                                     SystemErrorText(result.error)
                                               : SystemErrorText(result.error);
    Warn(window, L"The playlist could not be saved to\n" + GetPlaylistPath() + L"\n\n" + why +
                     L"\n\nThe new tracks are in the list and can be played. Lirotune tries again "
                     L"to save them with the next Add File and when it is closed.");
}

}  // namespace

void AddFileCommand(HWND window)
{
    std::vector<wchar_t> files(kSelectionRoom, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = L"Divevuru (*.mp3)\0*.mp3\0All Files (*.*)\0*.*\0";
    dialog.lpstrFile = files.data();
    dialog.nMaxFile = static_cast<DWORD>(files.size());
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT;
    if (!ShowOpenDialog(dialog)) {
        ReportDialogFailure(window, OpenDialogError());
        return;
    }
    // The save at exit stays silent: anything it could lose was either saved
    // here or reported here. The warning waits until the save's lock is let go.
    const SaveResult result = SaveWithAdditions(window, [&] { AddFromDialogResult(window, files.data()); });
    if (result.error != ERROR_SUCCESS)
        ReportSaveFailure(window, result);
}
