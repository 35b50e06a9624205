#include "playlist/playlist_file.h"

#include <algorithm>
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
    // The first `entries` entries of the playlist came from the file or went
    // to it; the ones after them were added but could not be saved.
    std::size_t entries = 0;
    // Whether the file held exactly what encoding those entries gives (as
    // every file the player wrote does); else its bytes are kept.
    bool asEncoded = false;
    std::string bytes;
    FileStamp stamp;
};
FileRecord record;

bool HoldsEncodingOf(std::string_view file, const std::vector<std::wstring>& paths, std::size_t count)
{
    std::size_t at = 0;
    const bool same = EncodePlaylist(paths.data(), count, DecodeSystemAnsi, [&](std::string_view piece) {
        if (file.substr(at, piece.size()) != piece)
            return false;
        at += piece.size();
        return true;
    });
    return same && at == file.size();
}

// The file held `bytes`, which read as `paths`.
void Remember(std::string bytes, const std::vector<std::wstring>& paths, const FileStamp& stamp)
{
    record.held = FileRecord::Content;
    record.entries = paths.size();
    record.asEncoded = HoldsEncodingOf(bytes, paths, paths.size());
    record.bytes = record.asEncoded ? std::string() : std::move(bytes);
    record.stamp = stamp;
}

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

    std::vector<std::wstring> paths = DecodePlaylist(bytes, DecodeSystemAnsi);
    Remember(std::move(bytes), paths, stamp);
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
    const DWORD error = ReplaceFileContent(path, [](const ByteWriter& write) {
        return EncodePlaylist(Playlist::Entries(), DecodeSystemAnsi, write);
    });
    if (error == ERROR_SUCCESS) {
        record.held = FileRecord::Content;
        record.entries = Playlist::Count();
        record.asEncoded = true;
        record.bytes = std::string();
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
    if (record.held == FileRecord::Content) {
        comparison = CompareFileContent(path, [](const ByteWriter& write) {
            if (!record.asEncoded)
                return write(record.bytes);
            return EncodePlaylist(Playlist::Entries().data(), Playlist::Count() - UnsavedEntries(),
                                  DecodeSystemAnsi, write);
        });
    }
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
    return Playlist::Count() - std::min(record.entries, Playlist::Count());
}

bool PlaylistFileIsUpToDate()
{
    return record.held == FileRecord::Content && record.asEncoded && record.entries == Playlist::Count();
}
