#include "playlist/playlist_file.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/ansi_code_page.h"
#include "platform/control_ids.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "platform/module_path.h"
#include "playlist/display_name.h"
#include "playlist/playlist.h"
#include "playlist/playlist_text.h"
#include "playlist/text_encodings.h"

namespace {

// What the file held when the player last read or wrote it.
struct FileRecord {
    enum { NoFile, Unknown, Content } held = NoFile;
    // A line for each of the first entries of the playlist, which came from
    // the file or went to it; the entries after them were added but could
    // not be saved.
    PlaylistText text;
    ContentDigest digest;
    FileStamp stamp;
};
FileRecord record;

// The row to select once the playlist holds `paths` instead of `before`: the
// selected path where it still is; else the row before the first of the
// tracks that followed it that is still there (none before the first row),
// so that the advance plays that one.
int RowToSelect(const PathList& before, int row, const PathList& paths)
{
    if (row < 0 || paths.empty())
        return -1;
    const auto at = static_cast<std::size_t>(row);
    if (at < paths.size() && paths[at] == before[at])
        return row;
    std::unordered_map<std::wstring_view, std::size_t> rowOf;
    for (std::size_t i = paths.size(); i-- > 0;)
        rowOf[paths[i]] = i;  // the first of equal paths
    for (std::size_t i = at; i < before.size(); ++i) {
        const auto found = rowOf.find(before[i]);
        if (found != rowOf.end())
            return static_cast<int>(found->second) - (i == at ? 0 : 1);
    }
    return static_cast<int>(paths.size()) - 1;
}

// Replaces the playlist with the file's paths, then appends the entries
// from `unsavedFrom` on, which the file doesn't hold.
void ShowFileContent(HWND window, std::string bytes, const FileStamp& stamp, std::size_t unsavedFrom)
{
    record.digest = ContentDigest();
    record.digest.Add(bytes);
    PathList paths = ReadPlaylistText(std::move(bytes), SystemAnsiCodePage(), record.text);
    record.held = FileRecord::Content;
    record.stamp = stamp;
    const PathList& entries = Playlist::Entries();
    for (std::size_t i = unsavedFrom; i < entries.size(); ++i)
        paths.Append(entries[i]);

    // Decided while the playlist still holds what it held.
    const HWND list = ControlOf(window, IDC_PLAYLIST);
    const int select = RowToSelect(Playlist::Entries(), SelectedRow(list), paths);
    Playlist::Replace(list, std::move(paths));
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

std::wstring PlaylistFolder()
{
    std::wstring path = GetPlaylistPath();
    path.resize(DisplayNameStart(path));
    return path;
}

std::string_view EightBitLineOf(std::size_t index)
{
    const PlaylistText& text = record.text;
    if (text.encoding != FileEncoding::Lines || index >= text.lineCount)
        return {};
    const auto line = std::lower_bound(text.keptLines.begin(), text.keptLines.end(), index,
                                       [](const KeptLine& kept, std::size_t at) { return kept.index < at; });
    if (line == text.keptLines.end() || line->index != index)
        return {};
    const std::string_view bytes = std::string_view(text.kept).substr(line->offset, line->length);
    return KindOf(bytes) == LineKind::Other ? bytes : std::string_view();
}

void LoadPlaylist(HWND window)
{
    const std::wstring path = GetPlaylistPath();
    RecoverCutShortReplace(path);
    // Taken first: a change made while the file is read shows next time.
    const FileStamp stamp = StampOf(path);
    std::string bytes;
    if (ReadWholeFile(path, bytes) != ERROR_SUCCESS) {
        record.held = stamp.exists ? FileRecord::Unknown : FileRecord::NoFile;
        record.text = PlaylistText();
        // A file that exists was not seen: the next activation tries again.
        record.stamp = FileStamp();
        return;
    }
    ShowFileContent(window, std::move(bytes), stamp, Playlist::Count());
}

void ReloadPlaylist(HWND window, PlaylistFileLook look)
{
    ShowFileContent(window, std::move(look.bytes), look.stamp, Playlist::Count() - UnsavedEntries());
}

DWORD SavePlaylist()
{
    const std::wstring path = GetPlaylistPath();
    const PathList& paths = Playlist::Entries();
    std::optional<PlaylistText> written = WritePlaylistText(record.text, paths, SystemAnsiCodePage());
    if (!written)
        return ERROR_NO_UNICODE_TRANSLATION;
    ContentDigest digest;
    // Only over the file as the player last saw it: someone may write it
    // while the new one is made.
    const DWORD error = ReplaceFileContent(
        path,
        [&](const ByteWriter& write) {
            return ProducePlaylistBytes(*written, paths, [&](std::string_view piece) {
                digest.Add(piece);
                return write(piece);
            });
        },
        [&] { return StampOf(path) == record.stamp; });
    if (error == ERROR_SUCCESS) {
        record.held = FileRecord::Content;
        record.text = std::move(*written);
        record.digest = digest;
        record.stamp = StampOf(path);
    }
    return error;
}

PlaylistFileLook LookAtPlaylistFile()
{
    const std::wstring path = GetPlaylistPath();
    PlaylistFileLook look = {PlaylistFileState::Missing, {}, StampOf(path), ERROR_SUCCESS};
    if (!look.stamp.exists) {
        record.stamp = look.stamp;
        return look;
    }
    // Compared as it is read, piece by piece: an unchanged file, the usual
    // case, is never held whole in memory.
    FileComparison comparison = FileComparison::Different;
    if (record.held == FileRecord::Content)
        comparison = CompareFileContent(path, record.digest);
    switch (comparison) {
    case FileComparison::Same:
        look.state = PlaylistFileState::Unchanged;
        record.stamp = look.stamp;
        break;
    case FileComparison::Different:
    case FileComparison::Unreadable:
        // Remembered once it is reloaded; one that can't be read is looked
        // at again next time.
        look.error = ReadWholeFile(path, look.bytes);
        look.state = look.error == ERROR_SUCCESS ? PlaylistFileState::Changed : PlaylistFileState::Unreadable;
        break;
    case FileComparison::Missing:
        look.state = PlaylistFileState::Missing;
        break;
    }
    return look;
}

bool PlaylistFileExists()
{
    return StampOf(GetPlaylistPath()).exists;
}

bool PlaylistFileMayHaveChanged()
{
    return StampOf(GetPlaylistPath()) != record.stamp;
}

std::size_t UnsavedEntries()
{
    return Playlist::Count() - std::min(record.text.lineCount, Playlist::Count());
}
