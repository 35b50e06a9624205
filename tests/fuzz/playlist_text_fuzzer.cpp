// Feeds arbitrary bytes to the playlist's text code, twice over, reading
// ANSI lines as Windows-1252 does:
//  - as a playlist file: what is read, written and read again must be what
//    was read, and writing it again must give the same bytes;
//  - as paths (two bytes a character, LF between paths): whatever paths the
//    player holds must read back exactly as they were written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "playlist/playlist_text.h"

namespace {

void Require(bool holds)
{
    if (!holds)
        std::abort();
}

// A path can hold any UTF-16 code unit but LF, which ends its line, and
// 0x1A, which ends the file; an empty line holds no path.
std::vector<std::wstring> PathsFrom(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::wstring> paths(1);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const auto unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (unit == L'\n')
            paths.emplace_back();
        else if (unit != 0x1A)
            paths.back() += unit;
    }
    std::vector<std::wstring> kept;
    for (auto& path : paths)
        if (!path.empty())
            kept.push_back(std::move(path));
    return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const std::vector<std::wstring> read = DecodePlaylist(file, DecodeWindows1252);
    const std::string written = EncodePlaylist(read, DecodeWindows1252);
    Require(DecodePlaylist(written, DecodeWindows1252) == read);
    Require(EncodePlaylist(DecodePlaylist(written, DecodeWindows1252), DecodeWindows1252) == written);

    const std::vector<std::wstring> held = PathsFrom(data, size);
    Require(DecodePlaylist(EncodePlaylist(held, DecodeWindows1252), DecodeWindows1252) == held);
    return 0;
}
