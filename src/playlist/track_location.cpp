#include "playlist/track_location.h"

#include <cwctype>
#include <string_view>

#include "platform/ansi_code_page.h"
#include "platform/files.h"
#include "platform/long_path.h"
#include "playlist/playlist.h"
#include "playlist/playlist_file.h"

namespace {

bool StartsWithDrive(std::wstring_view path)
{
    return path.size() >= 2 && path[1] == L':' && std::iswalpha(path[0]);
}

// "C:\" of "C:\Player\", "\\server\share\" of "\\server\share\Player\", and
// the same behind "\\?\" ("\\?\C:\", "\\?\UNC\server\share\").
std::wstring_view RootOf(std::wstring_view folder)
{
    if (StartsWithDrive(folder))
        return folder.substr(0, 3);
    std::size_t separators = folder.substr(0, 8) == L"\\\\?\\UNC\\" ? 6 : 4, end = 0;
    while (end < folder.size() && separators > 0)
        separators -= IsPathSeparator(folder[end++]) ? 1 : 0;
    return folder.substr(0, end);
}

// The drive letter of a folder, behind "\\?\" too; 0 on a share.
wchar_t DriveOf(std::wstring_view folder)
{
    if (folder.substr(0, 4) == L"\\\\?\\")
        folder.remove_prefix(4);
    return StartsWithDrive(folder) ? static_cast<wchar_t>(std::towupper(folder[0])) : 0;
}

bool Exists(const std::wstring& path)
{
    return StampOf(path).exists;
}

}  // namespace

std::wstring TrackPath(const std::wstring& line, const std::wstring& folder)
{
    const std::wstring_view path(line);
    if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]))
        return line;
    std::wstring within = folder;
    if (!within.empty() && !IsPathSeparator(within.back()))
        within += L'\\';
    if (StartsWithDrive(path)) {
        if (path.size() >= 3 && IsPathSeparator(path[2]))
            return line;
        // The drive has no folder of its own for the player: only the
        // playlist's, or its root.
        if (static_cast<wchar_t>(std::towupper(path[0])) == DriveOf(within))
            return within + line.substr(2);
        return line.substr(0, 2) + L'\\' + line.substr(2);
    }
    if (!path.empty() && IsPathSeparator(path[0]))
        return std::wstring(RootOf(within)) + line.substr(1);
    return within + line;
}

std::wstring PathToOpen(HWND list, std::size_t index)
{
    const std::wstring folder = PlaylistFolder();
    std::wstring path = TrackPath(std::wstring(Playlist::At(index)), folder);
    const std::string_view bytes = EightBitLineOf(index);
    if (bytes.empty() || Exists(path))
        return path;
    std::wstring console = OemCodePage().decode(bytes);
    if (console.empty() || console == Playlist::At(index))
        return path;
    std::wstring consolePath = TrackPath(console, folder);
    if (!Exists(consolePath))
        return path;
    Playlist::Rename(list, index, std::move(console));
    return consolePath;
}
