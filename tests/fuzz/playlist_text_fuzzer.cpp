// Arbitrary bytes as a playlist file, its ANSI lines read as Windows-1252 and
// as Windows-1251 do. Saved with nothing added, it comes back as its own bytes
// but for the format's rules, whatever the reading made of it. With paths
// added (the same bytes as UTF-16, LF between paths) every path reads back,
// after the file's lines as they were; only a file that became UTF-8 behind
// the mark writes them anew, and never one with a line read by a choice.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "playlist/playlist_text.h"
#include "playlist/text_encodings.h"
#include "support/saved_back.h"

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
    const std::string file(reinterpret_cast<const char*>(data), size);
    const std::vector<std::wstring> added = PathsFrom(data, size);
    for (const AnsiCodePage* ansi : {&Windows1252(), &Windows1251()}) {
        PlaylistText text, again;
        const std::vector<std::wstring> read = ReadPlaylistText(file, *ansi, text);
        const auto same = WritePlaylistText(text, read, *ansi);
        Require(same && same->bytes == SavedBack(file));
        Require(same->asWritten && ReadPlaylistText(same->bytes, *ansi, again) == read);

        std::vector<std::wstring> all = read;
        all.insert(all.end(), added.begin(), added.end());
        const auto grown = WritePlaylistText(text, all, *ansi);
        if (!grown) {
            Require(text.choiceLines);  // an unpaired surrogate beside such a line
            continue;
        }
        Require(ReadPlaylistText(grown->bytes, *ansi, again) == all);
        if (text.mark == FileMark::None && grown->mark == FileMark::Utf8)
            Require(!text.choiceLines);
        else
            Require(grown->bytes.compare(0, same->bytes.size(), same->bytes) == 0);
        // What the save remembers of the file is what reading it gives.
        Require(grown->utf8Lines == again.utf8Lines && grown->singleByteLines == again.singleByteLines &&
                grown->choiceLines == again.choiceLines && grown->lines.size() == again.lines.size());
        Require(WritePlaylistText(*grown, all, *ansi)->bytes == grown->bytes);
    }
    return 0;
}
