#include "playlist/playlist_file.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "platform/ansi_code_page.h"
#include "platform/control_ids.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "platform/module_path.h"
#include "playlist/display_name.h"
#include "playlist/playlist.h"
#include "playlist/playlist_text.h"

namespace {

// What the file held when the player last read or wrote it.
struct FileRecord {
    enum { NoFile, Unknown, Content } held = NoFile;
    // Its bytes, and a line for each of the first entries of the playlist,
    // which came from the file or went to it; the entries after them were
    // added but could not be saved.
    PlaylistText text;
    FileStamp stamp;
};
FileRecord record;

int RowToSelect(const std::vector<std::wstring>& paths, int row, const std::wstring& selected)
{
    if (row < 0 || paths.empty())
        return -1;
    const auto at = static_cast<std::size_t>(row);
    if (at < paths.size() && paths[at] == selected)
        return row;
    const auto found = std::find(paths.begin(), paths.end(), selected);
    if (found != paths.end())
        return static_cast<int>(found - paths.begin());
    return static_cast<int>(std::min(at, paths.size() - 1));
}

// Replaces the playlist with the file's paths, then appends `unsaved`.
void ShowFileContent(HWND window, std::string bytes, const FileStamp& stamp, std::vector<std::wstring> unsaved)
{
    const HWND list = ControlOf(window, IDC_PLAYLIST);
    const int row = SelectedRow(list);
    const std::wstring selected = row >= 0 ? Playlist::At(static_cast<std::size_t>(row)) : std::wstring();

    std::vector<std::wstring> paths = ReadPlaylistText(std::move(bytes), SystemAnsiCodePage(), record.text);
    record.held = FileRecord::Content;
    record.stamp = stamp;
    Playlist::Clear(list);
    Playlist::Reserve(list, paths.size() + unsaved.size());
    for (auto* part : {&paths, &unsaved}) {
        for (auto& path : *part) {
            const auto rowStart = DisplayNameStart(path);
            Playlist::Append(list, std::move(path), rowStart);
        }
    }
    const int select = RowToSelect(Playlist::Entries(), row, selected);
    if (select >= 0)
        SelectRow(list, select);
}

}  // namespace

std::wstring PlaylistPathBeside(const std::wstring& executablePath)
{
    const auto separator = LastSeparator(executablePath);
    const std::wstring folder = separator == std::wstring::npos
                                    ? std::wstring()
                                    : executablePath.substr(0, separator + 1);
    return folder + L"playlist.txt";
}

std::wstring GetPlaylistPath()
{
    return PlaylistPathBeside(ExecutablePath());
}

void LoadPlaylist(HWND window)
{
    const std::wstring path = GetPlaylistPath();
    // Taken first: a change made while the file is read shows next time.
    const FileStamp stamp = StampOf(path);
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        record.held = stamp.exists ? FileRecord::Unknown : FileRecord::NoFile;
        record.text = PlaylistText();
        record.stamp = stamp;
        return;
    }
    ShowFileContent(window, std::move(bytes), stamp, {});
}

void ReloadPlaylist(HWND window, PlaylistFileLook look)
{
    const auto& entries = Playlist::Entries();
    ShowFileContent(window, std::move(look.bytes), look.stamp,
                    std::vector<std::wstring>(entries.end() - static_cast<std::ptrdiff_t>(UnsavedEntries()),
                                              entries.end()));
}

DWORD SavePlaylist()
{
    const std::wstring path = GetPlaylistPath();
    std::optional<PlaylistText> written = WritePlaylistText(record.text, Playlist::Entries(), SystemAnsiCodePage());
    if (!written)
        return ERROR_NO_UNICODE_TRANSLATION;
    const DWORD error =
        ReplaceFileContent(path, [&](const ByteWriter& write) { return write(written->bytes); });
    if (error == ERROR_SUCCESS) {
        record.held = FileRecord::Content;
        record.text = std::move(*written);
        record.stamp = StampOf(path);
    }
    return error;
}

PlaylistFileLook LookAtPlaylistFile()
{
    const std::wstring path = GetPlaylistPath();
    PlaylistFileLook look = {PlaylistFileState::Missing, {}, StampOf(path)};
    if (!look.stamp.exists) {
        record.stamp = look.stamp;
        return look;
    }
    // Compared as it is read, piece by piece: an unchanged file, the usual
    // case, is never held whole in memory.
    FileComparison comparison = FileComparison::Different;
    if (record.held == FileRecord::Content)
        comparison = CompareFileContent(path, record.text.bytes);
    switch (comparison) {
    case FileComparison::Same:
        look.state = PlaylistFileState::Unchanged;
        record.stamp = look.stamp;
        break;
    case FileComparison::Different:
        // Remembered once it is reloaded.
        look.state = ReadWholeFile(path, look.bytes) ? PlaylistFileState::Changed : PlaylistFileState::Unreadable;
        break;
    case FileComparison::Missing:
        look.state = PlaylistFileState::Missing;
        break;
    case FileComparison::Unreadable:
        look.state = PlaylistFileState::Unreadable;
        break;
    }
    return look;
}

bool PlaylistFileMayHaveChanged()
{
    return StampOf(GetPlaylistPath()) != record.stamp;
}

std::size_t UnsavedEntries()
{
    return Playlist::Count() - std::min(record.text.lines.size(), Playlist::Count());
}

bool PlaylistFileIsUpToDate()
{
    return record.held == FileRecord::Content && record.text.asWritten &&
           record.text.lines.size() == Playlist::Count();
}
