#include "playlist/playlist_file.h"

#include <vector>

#include "platform/ansi_code_page.h"
#include "platform/control_ids.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "platform/module_path.h"
#include "playlist/display_name.h"
#include "playlist/playlist.h"
#include "playlist/playlist_text.h"

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
    std::string bytes;
    if (!ReadWholeFile(GetPlaylistPath(), bytes))
        return;
    std::vector<std::wstring> paths = DecodePlaylist(bytes, DecodeSystemAnsi);
    bytes = std::string();
    const HWND list = ControlOf(window, IDC_PLAYLIST);
    Playlist::Clear(list);
    Playlist::Reserve(list, paths.size());
    for (auto& path : paths) {
        const auto rowStart = DisplayNameStart(path);
        Playlist::Append(list, std::move(path), rowStart);
    }
}

DWORD SavePlaylist()
{
    return ReplaceFileContent(GetPlaylistPath(), [](const ByteWriter& write) {
        return EncodePlaylist(Playlist::Entries(), DecodeSystemAnsi, write);
    });
}
